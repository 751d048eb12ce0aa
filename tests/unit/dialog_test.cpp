// The main dialog: enabling in every state, every message box, and the
// Integrate command's order of work.
#include <string>

#include "dialog/main_dialog.h"
#include "dialog/messages.h"
#include "tests/unit/test_support.h"

namespace {

using platform::BrowseResult;
const platform::Window kDialog = reinterpret_cast<platform::Window>(0xD1A);

class Dialog : public CoreTest {
public:
    // Opens the dialog on the record and Android Studio key seeded so far.
    bool open() {
        readState();
        return onMainDialogInit(kDialog);
    }
    // A click as the platform reports it: automatic buttons mark themselves.
    bool press(int id) {
        if (id == 1004)
            fake::state().checks[id] ^= 1;
        if (id == 1006 || id == 1007 || id == 1020)
            fake::state().checks[id] = 1;
        return onMainDialogCommand(id, platform::kBnClicked);
    }
    void pick(int button, const std::wstring& path) {
        fake::state().browseAnswers.push_back({BrowseResult::Chosen, path});
        press(button);
    }
    void seedStudio() {
        fake::setValue(kStudioKey, L"Path", L"C:\\studio");
        fake::setValue(kStudioKey, L"SdkPath", L"C:\\studio-sdk");
    }
    Lines enabledOf(std::initializer_list<int> ids) {
        Lines states;
        for (int id : ids) {
            const auto found = fake::state().enabled.find(id);
            states.push_back(found == fake::state().enabled.end() ? L"unset"
                             : found->second                      ? L"on"
                                                                  : L"off");
        }
        return states;
    }
};

const Lines kOn5(5, L"on"), kOff5(5, L"off"), kOn3(3, L"on"), kOff3(3, L"off");

TEST_F(Dialog, IntegratedGroupFollowsTheRecordedKind) {
    struct Row {
        const wchar_t* value;  // the one record value seeded
        bool studioInstalled;
        Lines studio, adt, standalone;
        const wchar_t* studioText;
        int checkedRadio;
    };
    const Row rows[] = {
        {L"AndroidStudioPath", false, kOn5, kOff3, kOff5, L"Not installed!", 1006},
        {L"AndroidStudioPath", true, kOn5, kOff3, kOff5, L"C:\\rec", 1020},
        {L"ADTRootFolder", true, kOff5, kOn3, kOff5, L"", 1020},
        {L"SDKRootFolder", false, kOff5, kOff3, kOn5, L"Not installed!", 1006},
    };
    for (const Row& row : rows) {
        SetUp();
        fake::setValue(kRecordKey, row.value, L"C:\\rec");
        if (row.studioInstalled)
            seedStudio();
        EXPECT_TRUE(open());
        EXPECT_EQ(enabledOf({1030, 1021, 1022, 1023, 1024}), row.studio);
        EXPECT_EQ(enabledOf({1032, 1017, 1002}), row.adt);
        EXPECT_EQ(enabledOf({1031, 1018, 1012, 1019, 1013}), row.standalone);
        EXPECT_EQ(fake::state().texts[1022], row.studioText);
        EXPECT_EQ(fake::state().checks[row.checkedRadio], 1);
        EXPECT_EQ(fake::state().texts[0], L"Quorvane v3.1");
    }
}

TEST_F(Dialog, NewGroupFollowsTheSelection) {
    struct Row {
        std::vector<int> clicks;
        Lines studio, adt, standalone, marks;  // marks: 1020, 1006, 1007
    };
    const Lines studioOn(4, L"on"), studioOff(4, L"off"), standaloneOn(6, L"on"),
        standaloneOff(6, L"off");
    const Row rows[] = {
        {{}, studioOn, kOff3, standaloneOff, {L"1", L"0", L"0"}},
        {{1006}, studioOff, kOn3, standaloneOff, {L"0", L"1", L"0"}},
        {{1007}, studioOff, kOff3, standaloneOn, {L"0", L"0", L"1"}},
        // 1007 clears ADT selected; 1020 keeps it as it was.
        {{1006, 1007, 1020}, studioOn, kOff3, standaloneOff, {L"1", L"0", L"0"}},
        {{1006, 1020, 1006}, studioOff, kOn3, standaloneOff, {L"0", L"1", L"0"}},
    };
    for (const Row& row : rows) {
        SetUp();
        seedStudio();
        open();
        for (int id : row.clicks) press(id);
        EXPECT_EQ(enabledOf({1025, 1026, 1027, 1028}), row.studio);
        EXPECT_EQ(enabledOf({1014, 1003, 1001}), row.adt);
        EXPECT_EQ(enabledOf({1015, 1010, 1008, 1016, 1011, 1009}), row.standalone);
        Lines marks;
        for (int id : {1020, 1006, 1007})
            marks.push_back(std::to_wstring(fake::state().checks[id]));
        EXPECT_EQ(marks, row.marks);
        EXPECT_EQ(enabledOf({1020}), Lines{L"on"});
        EXPECT_EQ(fake::state().texts[1026], L"C:\\studio");
    }
    // Without Android Studio its radio is disabled and its fields say so.
    SetUp();
    open();
    EXPECT_EQ(enabledOf({1020}), Lines{L"off"});
    EXPECT_EQ(fake::state().texts[1028], L"Not installed!");
}

TEST_F(Dialog, OtherNotificationsAndUncheckedRadiosChangeNoFlag) {
    open();
    fake::state().checks[1007] = 1;
    onMainDialogCommand(1007, 6 /* BN_SETFOCUS */);
    fake::state().checks[1007] = 0;
    onMainDialogCommand(1007, platform::kBnClicked);
    EXPECT_TRUE(gDialog.adtSelected);
    EXPECT_EQ(enabledOf({1003, 1010}), (Lines{L"on", L"off"}));
    press(1004);
    EXPECT_TRUE(gDialog.cleanChecked);
    fake::state().checks[1004] = 2;  // indeterminate: unchanged
    onMainDialogCommand(1004, platform::kBnClicked);
    fake::state().checks[1004] = 0;
    onMainDialogCommand(1004, 5 /* BN_DOUBLECLICKED */);
    EXPECT_TRUE(gDialog.cleanChecked);
    onMainDialogCommand(1004, platform::kBnClicked);
    EXPECT_FALSE(gDialog.cleanChecked);
    EXPECT_FALSE(onMainDialogCommand(9999, platform::kBnClicked));
    EXPECT_TRUE(onMainDialogCommand(2, 0));
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_EQ(fake::state().log, (Lines{L"end 2", L"co uninitialize"}));
}

TEST_F(Dialog, EveryMessageBoxWithItsCaptionAndFlags) {
    const std::wstring ok = L"|Quorvane v3.1|10000";
    struct Row {
        const char* what;
        void (*act)(Dialog&);
        Lines boxes;
    };
    const Row rows[] = {
        {"usage", [](Dialog&) { runProgram(nullptr, L"-silence"); }, {kUsageText + ok}},
        {"cancelled introduction",
         [](Dialog&) {
             fake::state().answers = {platform::kIdCancel};
             runProgram(nullptr, L"-install -uninstall");
         },
         {kIntroductionText + std::wstring(L"|Quorvane v3.1|10001")}},
        {"COM not started",
         [](Dialog& d) {
             fake::state().coInitializeResult = 1;
             EXPECT_FALSE(d.open());
         },
         {L"Error opening browse window|ERROR|0"}},
        {"no ADT folder",
         [](Dialog& d) {
             d.open();
             d.press(1003);
         },
         {kAdtBrowseTexts.noFolder + ok}},
        {"allocator",
         [](Dialog& d) {
             d.open();
             fake::state().browseAnswers = {{BrowseResult::AllocatorUnavailable, L""}};
             d.press(1010);
         },
         {L"Error opening browse window|ERROR|0", kEclipseBrowseTexts.noFolder + ok}},
        {"invalid SDK",
         [](Dialog& d) {
             d.open();
             d.pick(1011, L"C:\\100%s");
         },
         {L"The folder \"C:\\100%s\" is not a valid Android SDK root folder!" + ok}},
        {"ADT first",
         [](Dialog& d) {
             d.open();
             d.press(1005);
         },
         {kChooseAdtFirst + ok, kAdtOutcome.failure + ok}},
        {"Eclipse first",
         [](Dialog& d) {
             d.open();
             d.press(1007);
             d.press(1005);
         },
         {kChooseEclipseFirst + ok, kStandaloneOutcome.failure + ok}},
        {"SDK first",
         [](Dialog& d) {
             d.open();
             d.press(1007);
             fake::file(L"C:\\e\\eclipse.exe");
             fake::folder(L"C:\\e\\plugins");
             d.pick(1010, L"C:\\e");
             d.press(1005);
         },
         {kChooseSdkFirst + ok, kStandaloneOutcome.failure + ok}},
        {"Android Studio",
         [](Dialog& d) {
             d.seedStudio();
             fake::folder(L"C:\\studio");
             fake::folder(L"C:\\studio-sdk");
             d.open();
             d.press(1005);
         },
         {kAndroidStudioOutcome.success + ok}},
        {"Android Studio missing",
         [](Dialog& d) {
             d.seedStudio();
             d.open();
             d.press(1005);
         },
         {kAndroidStudioOutcome.failure + ok}},
    };
    for (const Row& row : rows) {
        SetUp();
        row.act(*this);
        EXPECT_EQ(fake::logOf(L"box "), [&] {
            Lines boxes;
            for (const auto& box : row.boxes) boxes.push_back(L"box " + box);
            return boxes;
        }()) << row.what;
    }
}

TEST_F(Dialog, IntegrateCopiesBehindTheProgressWindowThenCleansThenWrites) {
    fake::setValue(kRecordKey, L"EclipseRootFolder", L"C:\\old-eclipse");
    fake::setValue(kRecordKey, L"SDKRootFolder", L"C:\\adt\\sdk");  // shares a target
    fake::folder(L"C:\\old-eclipse\\plugins\\core");
    fake::file(L"C:\\adt\\eclipse\\eclipse.exe");
    fake::folder(L"C:\\adt\\eclipse\\plugins");
    fake::file(L"C:\\adt\\sdk\\platform-tools\\adb.exe");
    open();
    pick(1003, L"C:\\adt");
    EXPECT_EQ(fake::state().texts[1001], L"C:\\adt");
    press(1004);
    fake::state().log.clear();
    EXPECT_TRUE(press(1005));
    const std::wstring e = L"C:\\Setup\\plugins\\Eclipse\\";
    EXPECT_EQ(fake::state().log,
              (Lines{L"progress created", L"progress shown",
                     L"copy " + e + L"core > C:\\adt\\eclipse\\plugins\\core 615 owned",
                     L"copy " + e + L"ui.jar > C:\\adt\\eclipse\\plugins\\ui.jar 695 owned",
                     L"mkdir C:\\adt\\sdk\\add-ons",
                     L"copy C:\\Setup\\add-ons\\addon > C:\\adt\\sdk\\add-ons\\addon 615 owned",
                     // The recorded SDK's add-ons are the ones just copied: kept.
                     L"delete C:\\old-eclipse\\plugins\\core 614 owned", L"set AndroidStudioPath",
                     L"set AndroidStudioSDKPath", L"set ADTRootFolder", L"set EclipseRootFolder",
                     L"set SDKRootFolder", L"progress destroyed",
                     L"box " + std::wstring(kAdtOutcome.success) + L"|Quorvane v3.1|10000",
                     L"end 1005"}));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\sdk\\add-ons\\addon"));
    EXPECT_EQ(fake::value(kRecordKey, L"ADTRootFolder"), L"C:\\adt");
    EXPECT_STREQ(gRecord.eclipseRootFolder.text, L"C:\\old-eclipse");  // as read at start
}

TEST_F(Dialog, FailureOrADeclinedSuccessLeavesTheDialogOpen) {
    fake::file(L"C:\\adt\\eclipse\\eclipse.exe");
    fake::folder(L"C:\\adt\\eclipse\\plugins");
    fake::file(L"C:\\adt\\sdk\\platform-tools\\adb.exe");
    fake::setValue(kRecordKey, L"ADTRootFolder", L"C:\\old");
    open();
    pick(1003, L"C:\\adt");
    fake::state().shellResults[L"C:\\Setup\\plugins\\Eclipse\\core"] = 0x7c;
    EXPECT_FALSE(press(1005));
    EXPECT_EQ(fake::value(kRecordKey, L"ADTRootFolder"), L"C:\\old");
    EXPECT_TRUE(fake::logOf(L"end").empty());
    fake::state().shellResults.clear();
    fake::state().answers = {platform::kIdCancel};
    EXPECT_FALSE(press(1005));
    EXPECT_TRUE(fake::logOf(L"end").empty());
    // A picked folder that is not valid clears the flag, keeps the field.
    pick(1003, L"C:\\old");
    EXPECT_FALSE(gDialog.adtValid);
    EXPECT_EQ(fake::state().texts[1001], L"C:\\adt");
    // A cancelled browser changes nothing.
    pick(1003, L"C:\\adt");
    press(1003);
    EXPECT_TRUE(gDialog.adtValid);
}

}  // namespace
