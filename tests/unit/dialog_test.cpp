// The main dialog: enabling in every state, every message box, and the Integrate command's order of work.
#include "dialog/main_dialog.h"
#include "dialog/messages.h"
#include "tests/unit/fake_platform.h"

namespace {

using platform::BrowseResult;

class Dialog : public CoreTest {
public:
    // Opens the dialog on what is seeded so far, then clicks, the browser choosing the folders given in turn.
    bool open(std::initializer_list<int> clicks = {}, const Lines& picked = {}) {
        for (const auto& path : picked) fake::state().browseAnswers.push_back({BrowseResult::Chosen, path});
        readIntegrationRecord();
        findAndroidStudio();
        const bool opened = onMainDialogInit(reinterpret_cast<platform::Window>(0xD1A));
        for (int id : clicks) press(id);
        return opened;
    }
    // A click as the platform reports it: automatic buttons mark themselves first.
    static bool press(int id) {
        if (id == 1004) fake::state().checks[id] ^= 1;
        if (id == 1006 || id == 1007 || id == 1020) fake::state().checks[id] = 1;
        return onMainDialogCommand(id, platform::kBnClicked);
    }
    static void pick(int button, const std::wstring& path) {
        fake::state().browseAnswers.push_back({BrowseResult::Chosen, path});
        press(button);
    }
    // A notification with the button's mark as it stands then.
    static bool notify(int id, int code, int check) {
        return fake::state().checks[id] = check, onMainDialogCommand(id, code);
    }
    static void makeAdt(const std::wstring& root) {
        fake::add(root + L"\\eclipse\\eclipse.exe", false), fake::add(root + L"\\eclipse\\plugins");
        fake::add(root + L"\\sdk\\platform-tools\\adb.exe", false);
    }
    // Per id: "1" enabled, "0" disabled, "-" never set; a space between groups.
    static std::string enabledOf(std::initializer_list<std::initializer_list<int>> groups) {
        std::string states;
        for (const auto& ids : groups) {
            for (int id : ids) states += !fake::state().enabled.count(id) ? '-' : fake::state().enabled[id] ? '1' : '0';
            states += ' ';
        }
        return states;
    }
    // A text without "|CAPTION|FLAGS" is one of the program's own boxes: its caption, MB_SETFOREGROUND.
    static Lines boxes(Lines texts) {
        for (auto& text : texts)
            text = L"box " + text + (std::count(text.begin(), text.end(), L'|') < 2 ? L"|Quorvane v3.1|10000" : L"");
        return texts;
    }
};

TEST_F(Dialog, EnablingFollowsTheRecordedKindAndTheSelection) {
    // The one record value, Android Studio installed, the clicks; enabling of the recorded Android Studio,
    // ADT and standalone lines, then of the new ones, the Android Studio radio; the radios' and the
    // clean box's marks; what 1022 and 1028 show.
    const std::tuple<const wchar_t*, bool, std::vector<int>, const char*, const wchar_t*> rows[] = {
        {L"AndroidStudioPath", false, {}, "11111 000 00000 0000 111 000000 0 0100", L"Not installed!|Not installed!"},
        {L"AndroidStudioPath", true, {}, "11111 000 00000 1111 000 000000 1 1000", L"C:\\rec|C:\\studio-sdk"},
        {L"ADTRootFolder", true, {1006}, "00000 111 00000 0000 111 000000 1 0100", L"|C:\\studio-sdk"},
        {L"SDKRootFolder", false, {1007}, "00000 000 11111 0000 000 111111 0 0010", L"Not installed!|Not installed!"},
        // 1007 clears ADT selected; 1020 keeps it as it was.
        {L"SDKRootFolder", true, {1006, 1007, 1020}, "00000 000 11111 1111 000 000000 1 1000", L"|C:\\studio-sdk"},
        {L"SDKRootFolder",
         true,
         {1006, 1020, 1006, 1004},
         "00000 000 11111 0000 111 000000 1 0101",
         L"|C:\\studio-sdk"}};
    for (const auto& [value, installed, clicks, enabling, texts] : rows) {
        SetUp();
        fake::setValue(kRecordKey, value, L"C:\\rec");
        if (installed) seedStudio();
        EXPECT_TRUE(open());
        for (int id : clicks) press(id);
        std::string marks;
        for (int id : {1020, 1006, 1007, 1004}) marks += std::to_string(fake::state().checks[id]);
        EXPECT_EQ(enabledOf({{1030, 1021, 1022, 1023, 1024},
                             {1032, 1017, 1002},
                             {1031, 1018, 1012, 1019, 1013},
                             {1025, 1026, 1027, 1028},
                             {1014, 1003, 1001},
                             {1015, 1010, 1008, 1016, 1011, 1009},
                             {1020}}) +
                      marks,
                  enabling)
            << narrow(value) << clicks.size();
        EXPECT_EQ(fake::state().texts[1022] + L"|" + fake::state().texts[1028], texts);
        EXPECT_EQ(fake::state().texts[0], L"Quorvane v3.1");
    }
}

TEST_F(Dialog, OtherNotificationsUncheckedRadiosCleanBoxCancelAndClose) {
    open();
    notify(1007, 6 /* BN_SETFOCUS */, 1), notify(1007, platform::kBnClicked, 0);  // left unchecked
    EXPECT_EQ(enabledOf({{1003, 1010}}), "10 ");
    press(1004);
    notify(1004, platform::kBnClicked, 2), notify(1004, 5 /* BN_DOUBLECLICKED */, 0);  // indeterminate: unchanged
    EXPECT_TRUE(gDialog.cleanChecked);
    notify(1004, platform::kBnClicked, 0);
    EXPECT_FALSE(gDialog.cleanChecked || onMainDialogCommand(9999, platform::kBnClicked));
    EXPECT_TRUE(onMainDialogCommand(2, 0));
    EXPECT_FALSE(onMainDialogClose() || onMainDialogClose());  // COM is stopped once
    EXPECT_EQ(fake::state().log, (Lines{L"end 2", L"co uninitialize"}));
}

TEST_F(Dialog, EveryMessageBoxWithItsCaptionAndFlags) {
    const std::wstring error = L"Error opening browse window|ERROR|0";
    const std::pair<void (*)(Dialog&), Lines> rows[] = {
        {[](Dialog&) { runProgram(nullptr, L"-silence"); }, {kUsageText}},
        {[](Dialog& d) {  // cancelled: no dialog, no uninstall
             d.seedRecord({L"ADTRootFolder", L"C:\\adt"}), d.makeAdt(L"C:\\adt"),
                 fake::add(L"C:\\adt\\sdk\\add-ons\\addon");
             fake::state().answers = {platform::kIdCancel};
             runProgram(nullptr, L"-install -uninstall");
             EXPECT_EQ(fake::state().log.size(), 1u);
         },
         {kIntroductionText + std::wstring(L"|Quorvane v3.1|10001")}},
        {[](Dialog& d) {
             fake::state().coInitializeResult = 1;
             EXPECT_FALSE(d.open());
         },
         {error}},
        {[](Dialog& d) { d.open({1003}); }, {kAdtBrowseTexts.noFolder}},
        {[](Dialog& d) {
             fake::state().browseAnswers = {{BrowseResult::AllocatorUnavailable, L""}}, d.open({1010});
         },
         {error, kEclipseBrowseTexts.noFolder}},
        {[](Dialog& d) { d.open({1011}, {L"C:\\100%s"}); },
         {L"The folder \"C:\\100%s\" is not a valid Android SDK root folder!"}},
        {[](Dialog& d) { d.open({1005}); }, {kChooseAdtFirst, kAdtOutcome.failure}},
        {[](Dialog& d) {
             d.open({1007, 1005});
         },
         {kChooseEclipseFirst, kStandaloneOutcome.failure}},
        {[](Dialog& d) {
             d.makeAdt(L"C:\\adt"), d.open({1007, 1010, 1005}, {L"C:\\adt\\eclipse"});
         },
         {kChooseSdkFirst, kStandaloneOutcome.failure}},
        {[](Dialog& d) { d.seedStudio(), d.open({1005}); }, {kAndroidStudioOutcome.success}},
        {[](Dialog& d) { d.seedStudio(false), d.open({1005}); }, {kAndroidStudioOutcome.failure}}};
    for (const auto& [act, texts] : rows) {
        SetUp();
        act(*this);
        EXPECT_EQ(fake::logOf(L"box "), boxes(texts));
        EXPECT_EQ(fake::logOf(L"dialog"), Lines{});
    }
}

TEST_F(Dialog, IntegrateCopiesBehindTheProgressWindowThenCleansThenWrites) {
    seedRecord({L"EclipseRootFolder", L"C:\\old-eclipse", L"SDKRootFolder", L"C:\\adt\\sdk"});  // shares a target
    fake::add(L"C:\\old-eclipse\\plugins\\core");
    makeAdt(L"C:\\adt");
    open({1003, 1004}, {L"C:\\adt"});
    EXPECT_EQ(fake::state().texts[1001], L"C:\\adt");
    fake::state().log.clear();
    EXPECT_TRUE(press(1005));
    const std::wstring e = L"C:\\Setup\\plugins\\Eclipse\\";
    EXPECT_EQ(
        fake::state().log,
        (Lines{L"progress created", L"progress shown",
               L"copy " + e + L"core > C:\\adt\\eclipse\\plugins\\core 615 owned",
               L"copy " + e + L"ui.jar > C:\\adt\\eclipse\\plugins\\ui.jar 695 owned", L"mkdir C:\\adt\\sdk\\add-ons",
               L"copy C:\\Setup\\add-ons\\addon > C:\\adt\\sdk\\add-ons\\addon 615 owned",
               // The recorded SDK's add-ons are the ones just copied: kept.
               L"delete C:\\old-eclipse\\plugins\\core 614 owned", L"set AndroidStudioPath",
               L"set AndroidStudioSDKPath", L"set ADTRootFolder", L"set EclipseRootFolder", L"set SDKRootFolder",
               L"progress destroyed", boxes({kAdtOutcome.success})[0], L"end 1005"}));
    EXPECT_EQ(fake::stored(kRecordKey, L"ADTRootFolder").c_str(), std::wstring(L"C:\\adt"));
    EXPECT_STREQ(gRecord.eclipseRootFolder.text, L"C:\\old-eclipse");  // as read at start
}

TEST_F(Dialog, TheCleanStepByRecordedKindAndSelection) {
    const Lines studio = {L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"},
                adt = {L"ADTRootFolder", L"C:\\old"};
    const Lines fromStudio = {L"delete C:\\old\\plugins\\studio 614 owned",
                              L"delete C:\\old-sdk\\add-ons\\addon 614 owned"},
                fromAdt = {L"delete C:\\old\\eclipse\\plugins\\core 614 owned",
                           L"delete C:\\old\\sdk\\add-ons\\addon 614 owned"};
    // Record, the radio clicked, clean checked, the deletes. The Android Studio branch never
    // cleans a recorded Android Studio.
    const std::tuple<Lines, int, bool, Lines> rows[] = {
        {studio, 1020, true, {}}, {studio, 1006, true, fromStudio}, {adt, 1020, true, fromAdt}, {adt, 1006, false, {}}};
    for (const auto& [record, radio, clean, deletes] : rows) {
        SetUp();
        seedStudio(), makeAdt(L"C:\\adt"), seedRecord(record);
        for (const wchar_t* f : {L"C:\\old\\plugins\\studio", L"C:\\old-sdk\\add-ons\\addon",
                                 L"C:\\old\\eclipse\\plugins\\core", L"C:\\old\\sdk\\add-ons\\addon"})
            fake::add(f);
        open({radio});
        if (radio == 1006) pick(1003, L"C:\\adt");
        if (clean) press(1004);
        EXPECT_TRUE(press(1005));
        EXPECT_EQ(fake::logOf(L"delete"), deletes) << radio << clean;
    }
}

TEST_F(Dialog, StandaloneAddOnsGoFirstAndAFailureOrDeclinedSuccessKeepsTheDialog) {
    makeAdt(L"C:\\adt");
    fake::setValue(kRecordKey, L"ADTRootFolder", L"C:\\old");
    open({1007, 1010, 1011}, {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"});
    fake::state().answers = {platform::kIdCancel};
    fake::state().log.clear();
    EXPECT_FALSE(press(1005));
    EXPECT_EQ(fake::state().log[2], L"mkdir C:\\adt\\sdk\\add-ons");
    press(1006), pick(1003, L"C:\\adt");
    fake::state().shellResults[L"C:\\Setup\\plugins\\Eclipse\\core"] = 0x7c;
    EXPECT_FALSE(press(1005));
    EXPECT_EQ(fake::stored(kRecordKey, L"EclipseRootFolder").c_str(),
              std::wstring(L"C:\\adt\\eclipse"));  // nothing written
    EXPECT_EQ(fake::logOf(L"end"), Lines{});
    // A picked folder that is not valid clears the flag, keeps the field; a cancelled browser changes nothing.
    pick(1003, L"C:\\old");
    EXPECT_FALSE(gDialog.adtValid);
    EXPECT_EQ(fake::state().texts[1001], L"C:\\adt");
    pick(1003, L"C:\\adt"), press(1003);
    EXPECT_TRUE(gDialog.adtValid);
}

}  // namespace
