// The main dialog: enabling in every state, every message box, and the Integrate command's order of work.
#include "dialog/main_dialog.h"
#include "dialog/messages.h"
#include "tests/unit/fake_platform.h"

namespace {

using platform::BrowseResult;

class Dialog : public CoreTest {
public:
    // Opens the dialog on what is seeded so far, then clicks, the browser choosing the folders given in turn.
    bool open(const std::vector<int>& clicks = {}, const Lines& picked = {}) {
        for (const auto& path : picked)  // "?": the browser cannot start
            fake::state().browseAnswers.push_back(
                {path == L"?" ? BrowseResult::AllocatorUnavailable : BrowseResult::Chosen, path});
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
    // A box's text alone stands for one of the program's own boxes: its caption, MB_SETFOREGROUND.
    static std::wstring box(const std::wstring& text) { return L"box " + text + L"|Quorvane v3.1|10000"; }
};

TEST_F(Dialog, EnablingFollowsTheRecordedKindAndTheSelection) {
    // The one record value, Android Studio installed, the clicks; enabling of the recorded Android Studio,
    // ADT and standalone lines, then of the new ones, the Android Studio radio; the radios' and the
    // clean box's marks; what 1022 and 1028 show.
    const wchar_t *none = L"Not installed!|Not installed!", *sdk = L"|C:\\studio-sdk";
    // clang-format off
    const std::tuple<const wchar_t*, bool, std::vector<int>, const char*, const wchar_t*> rows[] = {
        {L"AndroidStudioPath", false, {}, "11111 000 00000 0000 111 000000 0 0100", none},
        {L"AndroidStudioPath", true, {}, "11111 000 00000 1111 000 000000 1 1000", L"C:\\rec|C:\\studio-sdk"},
        {L"ADTRootFolder", true, {1006}, "00000 111 00000 0000 111 000000 1 0100", sdk},
        {L"SDKRootFolder", false, {1007}, "00000 000 11111 0000 000 111111 0 0010", none},
        // 1007 clears ADT selected; 1020 keeps it as it was.
        {L"SDKRootFolder", true, {1006, 1007, 1020}, "00000 000 11111 1111 000 000000 1 1000", sdk},
        {L"SDKRootFolder", true, {1006, 1020, 1006, 1004}, "00000 000 11111 0000 111 000000 1 0101", sdk}};
    for (const auto& [value, installed, clicks, enabling, texts] : rows) {
        SetUp();
        fake::setValue(kRecordKey, value, L"C:\\rec");
        if (installed) seedStudio();
        EXPECT_TRUE(open(clicks));
        std::string marks;
        for (int id : {1020, 1006, 1007, 1004}) marks += std::to_string(fake::state().checks[id]);
        EXPECT_EQ(enabledOf({{1030, 1021, 1022, 1023, 1024}, {1032, 1017, 1002}, {1031, 1018, 1012, 1019, 1013},
                             {1025, 1026, 1027, 1028}, {1014, 1003, 1001}, {1015, 1010, 1008, 1016, 1011, 1009},
                             {1020}}) + marks, enabling) << value << clicks.size();
        EXPECT_EQ(fake::state().texts[1022] + L"|" + fake::state().texts[1028], texts);
        EXPECT_EQ(fake::state().texts[0], L"Quorvane v3.1");
    }
    // clang-format on
}

TEST_F(Dialog, BoxesCleanStepAndEndOfEveryFlow) {
    const Lines studio = {L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"},
                adt = {L"ADTRootFolder", L"C:\\old"};
    const std::wstring error = L"box Error opening browse window|ERROR|0",
                       studioDone = box(kAndroidStudioOutcome.success);
    // Record; Android Studio: 0 none, 1 its key, 2 its key and folders; folders picked in turn; clicks;
    // the success box declined; the boxes, deletes and the dialog's end that follow.
    // clang-format off
    const std::tuple<Lines, int, Lines, std::vector<int>, bool, Lines> rows[] = {
        {{}, 0, {L"?"}, {1010}, false, {error, box(kEclipseBrowseTexts.noFolder)}},
        {{}, 0, {L"C:\\100%s"}, {1011}, false,
         {box(L"The folder \"C:\\100%s\" is not a valid Android SDK root folder!")}},
        {{}, 0, {}, {1007, 1005}, false, {box(kChooseEclipseFirst), box(kStandaloneOutcome.failure)}},
        {{}, 0, {L"C:\\adt\\eclipse"}, {1007, 1010, 1005}, false,
         {box(kChooseSdkFirst), box(kStandaloneOutcome.failure)}},
        {{}, 1, {}, {1005}, false, {box(kAndroidStudioOutcome.failure)}},
        {adt, 0, {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"}, {1007, 1010, 1011, 1005}, true,
         {box(kStandaloneOutcome.success)}},
        // The clean step; the Android Studio branch never cleans a recorded Android Studio.
        {{}, 2, {}, {1004, 1005}, false, {studioDone, L"end 1005"}},
        {studio, 2, {}, {1004, 1005}, false, {studioDone, L"end 1005"}},
        {studio, 2, {L"C:\\adt"}, {1006, 1003, 1004, 1005}, false, {L"delete C:\\old\\plugins\\studio 614 owned",
         L"delete C:\\old-sdk\\add-ons\\addon 614 owned", box(kAdtOutcome.success), L"end 1005"}},
        {adt, 2, {}, {1004, 1005}, false, {L"delete C:\\old\\eclipse\\plugins\\core 614 owned",
         L"delete C:\\old\\sdk\\add-ons\\addon 614 owned", studioDone, L"end 1005"}},
        {adt, 2, {L"C:\\adt"}, {1006, 1003, 1005}, false, {box(kAdtOutcome.success), L"end 1005"}}};
    // clang-format on
    for (const auto& [record, studioFound, picked, clicks, declined, expected] : rows) {
        SetUp();
        seedRecord(record), makeAdt(L"C:\\adt");
        if (studioFound) seedStudio(studioFound == 2);
        for (const wchar_t* f : {L"C:\\old\\plugins\\studio", L"C:\\old-sdk\\add-ons\\addon",
                                 L"C:\\old\\eclipse\\plugins\\core", L"C:\\old\\sdk\\add-ons\\addon"})
            fake::add(f);
        if (declined) fake::state().answers = {platform::kIdCancel};
        open(clicks, picked);
        Lines seen;
        for (const auto& line : fake::state().log)
            if (line.rfind(L"box ", 0) == 0 || line.rfind(L"delete ", 0) == 0 || line.rfind(L"end ", 0) == 0)
                seen.push_back(line);
        EXPECT_EQ(seen, expected) << clicks.size() << studioFound;
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
    EXPECT_EQ(fake::state().log,
              (Lines{L"progress created", L"progress shown", L"copy C:\\adt\\eclipse\\plugins\\core 615 owned",
                     L"copy C:\\adt\\eclipse\\plugins\\ui.jar 695 owned", L"mkdir C:\\adt\\sdk\\add-ons",
                     L"copy C:\\adt\\sdk\\add-ons\\addon 615 owned",
                     // The recorded SDK's add-ons are the ones just copied: kept.
                     L"delete C:\\old-eclipse\\plugins\\core 614 owned", L"set AndroidStudioPath",
                     L"set AndroidStudioSDKPath", L"set ADTRootFolder", L"set EclipseRootFolder", L"set SDKRootFolder",
                     L"progress destroyed", box(kAdtOutcome.success), L"end 1005"}));
    EXPECT_STREQ(gRecord.eclipseRootFolder.text, L"C:\\old-eclipse");  // as read at start
    // A picked folder that is not valid clears the flag and keeps the field; a cancelled browser changes nothing.
    open({1003}, {L"C:\\old"});
    EXPECT_TRUE(!gDialog.adtValid && fake::state().texts[1001] == L"C:\\adt");
    open({1003, 1003}, {L"C:\\adt"});
    EXPECT_TRUE(gDialog.adtValid);
    // A standalone environment gets its add-ons first.
    SetUp(), makeAdt(L"C:\\adt"), open({1007, 1010, 1011}, {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"});
    fake::state().log.clear();
    EXPECT_TRUE(press(1005) && fake::state().log.at(2) == L"mkdir C:\\adt\\sdk\\add-ons");
}

TEST_F(Dialog, OtherNotificationsCancelCloseAndTheStartsThatShowNoDialog) {
    open();
    notify(1007, 6 /* BN_SETFOCUS */, 1), notify(1007, platform::kBnClicked, 0);  // left unchecked
    press(1004);
    notify(1004, platform::kBnClicked, 2), notify(1004, 5 /* BN_DOUBLECLICKED */, 0);  // indeterminate: unchanged
    EXPECT_TRUE(gDialog.cleanChecked && !gDialog.eclipseValid && enabledOf({{1003, 1010}}) == "10 ");
    EXPECT_FALSE(onMainDialogCommand(9999, platform::kBnClicked));
    EXPECT_TRUE(onMainDialogCommand(2, 0));
    EXPECT_FALSE(onMainDialogClose() || onMainDialogClose());  // COM is stopped once
    EXPECT_EQ(fake::state().log, (Lines{L"end 2", L"co uninitialize"}));
    SetUp();
    fake::state().coInitializeResult = 1;
    EXPECT_FALSE(open());
    seedRecord({L"ADTRootFolder", L"C:\\adt"}), makeAdt(L"C:\\adt"), fake::add(L"C:\\adt\\sdk\\add-ons\\addon");
    fake::state().answers = {platform::kIdCancel};  // the confirmation: no dialog, no uninstall
    runProgram(nullptr, L"-install -uninstall");
    EXPECT_EQ(fake::state().log, (Lines{L"box Error opening browse window|ERROR|0", L"co uninitialize",
                                        L"box " + std::wstring(kIntroductionText) + L"|Quorvane v3.1|10001"}));
}

}  // namespace
