// The main dialog: enabling in every state, every message box, and the Integrate command's order of work.
#include "dialog/main_dialog.h"
#include "dialog/messages.h"
#include "tests/unit/test_support.h"

namespace {

using platform::BrowseResult;

class Dialog : public CoreTest {
public:
    // Opens the dialog on the record and Android Studio key seeded so far.
    bool open() {
        readIntegrationRecord();
        findAndroidStudio();
        return onMainDialogInit(reinterpret_cast<platform::Window>(0xD1A));
    }
    // A click as the platform reports it: automatic buttons mark themselves first.
    bool press(int id) {
        if (id == 1004) fake::state().checks[id] ^= 1;
        if (id == 1006 || id == 1007 || id == 1020) fake::state().checks[id] = 1;
        return onMainDialogCommand(id, platform::kBnClicked);
    }
    void pick(int button, const std::wstring& path) {
        fake::state().browseAnswers.push_back({BrowseResult::Chosen, path});
        press(button);
    }
    // Opens the dialog and clicks, the folder browser choosing the folders given in turn.
    void openAndPress(std::initializer_list<int> clicks, const Lines& picked = {}) {
        for (const auto& path : picked) fake::state().browseAnswers.push_back({BrowseResult::Chosen, path});
        open();
        for (int id : clicks) press(id);
    }
    // A notification with the button's mark as it stands then.
    static bool notify(int id, int code, int check) {
        fake::state().checks[id] = check;
        return onMainDialogCommand(id, code);
    }
    void makeAdt(const std::wstring& root) {
        fake::file(root + L"\\eclipse\\eclipse.exe");
        fake::folder(root + L"\\eclipse\\plugins");
        fake::file(root + L"\\sdk\\platform-tools\\adb.exe");
    }
    // "1" enabled, "0" disabled, "-" never set, per id.
    static std::string enabledOf(std::initializer_list<int> ids) {
        std::string states;
        for (int id : ids) states += !fake::state().enabled.count(id) ? '-' : fake::state().enabled[id] ? '1' : '0';
        return states;
    }
    static std::string marks() {
        std::string marks;
        for (int id : {1020, 1006, 1007, 1004}) marks += std::to_string(fake::state().checks[id]);
        return marks;
    }
    // A text without "|CAPTION|FLAGS" is one of the program's own boxes: its caption, MB_SETFOREGROUND.
    static Lines boxes(Lines texts) {
        for (auto& text : texts)
            text = L"box " + text + (std::count(text.begin(), text.end(), L'|') < 2 ? L"|Quorvane v3.1|10000" : L"");
        return texts;
    }
};

TEST_F(Dialog, IntegratedGroupFollowsTheRecordedKind) {
    // The one record value, Android Studio installed, enabling of the Android Studio, ADT and
    // standalone lines, what 1022 shows, the radios' marks.
    const std::tuple<const wchar_t*, bool, const char*, const wchar_t*, const char*> rows[] = {
        {L"AndroidStudioPath", false, "11111 000 00000", L"Not installed!", "0100"},
        {L"AndroidStudioPath", true, "11111 000 00000", L"C:\\rec", "1000"},
        {L"ADTRootFolder", true, "00000 111 00000", L"", "1000"},
        {L"SDKRootFolder", false, "00000 000 11111", L"Not installed!", "0100"}};
    for (const auto& [value, installed, enabling, studioText, radios] : rows) {
        SetUp();
        fake::setValue(kRecordKey, value, L"C:\\rec");
        if (installed) seedStudio();
        EXPECT_TRUE(open());
        EXPECT_EQ(enabledOf({1030, 1021, 1022, 1023, 1024}) + " " + enabledOf({1032, 1017, 1002}) + " " +
                      enabledOf({1031, 1018, 1012, 1019, 1013}),
                  enabling)
            << narrow(value);
        EXPECT_EQ(fake::state().texts[1022], studioText);
        EXPECT_EQ(marks(), radios);
        EXPECT_EQ(fake::state().texts[0], L"Quorvane v3.1");
    }
}

TEST_F(Dialog, NewGroupFollowsTheSelection) {
    // Clicks, then enabling of the Android Studio, ADT and standalone rows, and the marks.
    const std::pair<std::vector<int>, const char*> rows[] = {{{}, "1111 000 000000 1000"},
                                                             {{1006}, "0000 111 000000 0100"},
                                                             {{1007}, "0000 000 111111 0010"},
                                                             // 1007 clears ADT selected; 1020 keeps it as it was.
                                                             {{1006, 1007, 1020}, "1111 000 000000 1000"},
                                                             {{1006, 1020, 1006}, "0000 111 000000 0100"}};
    for (const auto& [clicks, expected] : rows) {
        SetUp();
        seedStudio();
        open();
        for (int id : clicks) press(id);
        EXPECT_EQ(enabledOf({1025, 1026, 1027, 1028}) + " " + enabledOf({1014, 1003, 1001}) + " " +
                      enabledOf({1015, 1010, 1008, 1016, 1011, 1009}) + " " + marks(),
                  expected);
        EXPECT_EQ(enabledOf({1020}) + narrow(fake::state().texts[1026]), "1C:\\studio");
    }
    SetUp();  // without Android Studio its radio is disabled and its fields say so
    open();
    EXPECT_EQ(enabledOf({1020}) + narrow(fake::state().texts[1028]), "0Not installed!");
}

TEST_F(Dialog, OtherNotificationsUncheckedRadiosCleanBoxCancelAndClose) {
    open();
    notify(1007, 6 /* BN_SETFOCUS */, 1), notify(1007, platform::kBnClicked, 0);  // left unchecked
    EXPECT_EQ(enabledOf({1003, 1010}), "10");
    press(1004);
    // Indeterminate, then a double click: unchanged.
    notify(1004, platform::kBnClicked, 2), notify(1004, 5 /* BN_DOUBLECLICKED */, 0);
    EXPECT_TRUE(gDialog.cleanChecked);
    notify(1004, platform::kBnClicked, 0);
    EXPECT_FALSE(gDialog.cleanChecked);
    EXPECT_FALSE(onMainDialogCommand(9999, platform::kBnClicked));
    EXPECT_TRUE(onMainDialogCommand(2, 0));
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_FALSE(onMainDialogClose());  // COM is stopped once
    EXPECT_EQ(fake::state().log, (Lines{L"end 2", L"co uninitialize"}));
}

TEST_F(Dialog, EveryMessageBoxWithItsCaptionAndFlags) {
    const std::wstring error = L"Error opening browse window|ERROR|0";
    const std::pair<void (*)(Dialog&), Lines> rows[] = {
        {[](Dialog&) { runProgram(nullptr, L"-silence"); }, {kUsageText}},
        {[](Dialog& d) {  // cancelled: no dialog, no uninstall
             d.seedRecord({L"EclipseRootFolder", L"C:\\e", L"SDKRootFolder", L"C:\\s"});
             fake::folder(L"C:\\e\\plugins\\core"), fake::folder(L"C:\\s\\add-ons\\addon");
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
        {[](Dialog& d) { d.openAndPress({1003}); }, {kAdtBrowseTexts.noFolder}},
        {[](Dialog& d) {
             fake::state().browseAnswers = {{BrowseResult::AllocatorUnavailable, L""}}, d.openAndPress({1010});
         },
         {error, kEclipseBrowseTexts.noFolder}},
        {[](Dialog& d) { d.openAndPress({1011}, {L"C:\\100%s"}); },
         {L"The folder \"C:\\100%s\" is not a valid Android SDK root folder!"}},
        {[](Dialog& d) { d.openAndPress({1005}); }, {kChooseAdtFirst, kAdtOutcome.failure}},
        {[](Dialog& d) {
             d.openAndPress({1007, 1005});
         },
         {kChooseEclipseFirst, kStandaloneOutcome.failure}},
        {[](Dialog& d) {
             d.makeAdt(L"C:\\adt"), d.openAndPress({1007, 1010, 1005}, {L"C:\\adt\\eclipse"});
         },
         {kChooseSdkFirst, kStandaloneOutcome.failure}},
        {[](Dialog& d) { d.seedStudio(), d.openAndPress({1005}); }, {kAndroidStudioOutcome.success}},
        {[](Dialog& d) { d.seedStudio(false), d.openAndPress({1005}); }, {kAndroidStudioOutcome.failure}}};
    for (const auto& [act, texts] : rows) {
        SetUp();
        act(*this);
        EXPECT_EQ(fake::logOf(L"box "), boxes(texts));
        EXPECT_EQ(fake::logOf(L"dialog"), Lines{});
    }
}

TEST_F(Dialog, IntegrateCopiesBehindTheProgressWindowThenCleansThenWrites) {
    seedRecord({L"EclipseRootFolder", L"C:\\old-eclipse", L"SDKRootFolder", L"C:\\adt\\sdk"});  // shares a target
    fake::folder(L"C:\\old-eclipse\\plugins\\core");
    makeAdt(L"C:\\adt");
    open();
    pick(1003, L"C:\\adt");
    EXPECT_EQ(fake::state().texts[1001], L"C:\\adt");
    press(1004);
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
    EXPECT_EQ(fake::value(kRecordKey, L"ADTRootFolder"), L"C:\\adt");
    EXPECT_STREQ(gRecord.eclipseRootFolder.text, L"C:\\old-eclipse");  // as read at start
}

TEST_F(Dialog, TheCleanStepByRecordedKindAndSelection) {
    const Lines studio = {L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"},
                adt = {L"ADTRootFolder", L"C:\\old"};
    const Lines fromStudio = {L"delete C:\\old\\plugins\\studio 614 owned",
                              L"delete C:\\old-sdk\\add-ons\\addon 614 owned"},
                fromAdt = {L"delete C:\\old\\eclipse\\plugins\\core 614 owned",
                           L"delete C:\\old\\eclipse\\plugins\\ui.jar 694 owned",
                           L"delete C:\\old\\sdk\\add-ons\\addon 614 owned"};
    // Record, the radio clicked, clean checked, the deletes. The Android Studio branch never
    // cleans a recorded Android Studio.
    const std::tuple<Lines, int, bool, Lines> rows[] = {
        {studio, 1020, true, {}}, {studio, 1006, true, fromStudio}, {adt, 1020, true, fromAdt}, {adt, 1006, false, {}}};
    for (const auto& [record, radio, clean, deletes] : rows) {
        SetUp();
        seedStudio();
        for (const wchar_t* f : {L"C:\\old\\plugins\\studio", L"C:\\old-sdk\\add-ons\\addon",
                                 L"C:\\old\\eclipse\\plugins\\core", L"C:\\old\\sdk\\add-ons\\addon"})
            fake::folder(f);
        fake::file(L"C:\\old\\eclipse\\plugins\\ui.jar");
        makeAdt(L"C:\\adt");
        seedRecord(record);
        open();
        press(radio);
        if (radio == 1006) pick(1003, L"C:\\adt");
        if (clean) press(1004);
        EXPECT_TRUE(press(1005));
        EXPECT_EQ(fake::logOf(L"delete"), deletes) << radio << clean;
    }
}

TEST_F(Dialog, StandaloneAddOnsGoFirstAndAFailureOrDeclinedSuccessKeepsTheDialog) {
    makeAdt(L"C:\\adt");
    fake::setValue(kRecordKey, L"ADTRootFolder", L"C:\\old");
    openAndPress({1007, 1010, 1011}, {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"});
    fake::state().answers = {platform::kIdCancel};
    fake::state().log.clear();
    EXPECT_FALSE(press(1005));
    EXPECT_EQ(fake::state().log[2], L"mkdir C:\\adt\\sdk\\add-ons");
    press(1006), pick(1003, L"C:\\adt");
    fake::state().shellResults[L"C:\\Setup\\plugins\\Eclipse\\core"] = 0x7c;
    EXPECT_FALSE(press(1005));
    EXPECT_EQ(fake::value(kRecordKey, L"EclipseRootFolder"), L"C:\\adt\\eclipse");  // the failure wrote nothing
    EXPECT_EQ(fake::logOf(L"end"), Lines{});
    // A picked folder that is not valid clears the flag, keeps the field; a cancelled browser changes
    // nothing.
    pick(1003, L"C:\\old");
    EXPECT_FALSE(gDialog.adtValid);
    EXPECT_EQ(fake::state().texts[1001], L"C:\\adt");
    pick(1003, L"C:\\adt"), press(1003);
    EXPECT_TRUE(gDialog.adtValid);
}

}  // namespace
