// The main dialog: enabling in every state, every message box, and the Integrate command's order of work.
#include <set>

#include "dialog/main_dialog.h"
#include "dialog/messages.h"
#include "resources/resource_ids.h"
#include "tests/unit/fake_platform.h"

namespace {

using platform::BrowseResult;
using Ids = std::set<int>;

// The controls whose enabling the dialog sets, line by line: the upper group names the recorded environment,
// the lower one the environment selected now.
const Ids kOldStudio = {IDC_OLD_STUDIO_LINE, IDC_OLD_STUDIO_PATH_LABEL, IDC_OLD_STUDIO_PATH_EDIT,
                        IDC_OLD_STUDIO_SDK_LABEL, IDC_OLD_STUDIO_SDK_EDIT};
const Ids kOldAdt = {IDC_OLD_ADT_LINE, IDC_OLD_ADT_ROOT_LABEL, IDC_OLD_ADT_ROOT_EDIT};
const Ids kOldStandalone = {IDC_OLD_STANDALONE_LINE, IDC_OLD_ECLIPSE_ROOT_LABEL, IDC_OLD_ECLIPSE_ROOT_EDIT,
                            IDC_OLD_SDK_ROOT_LABEL, IDC_OLD_SDK_ROOT_EDIT};
const Ids kNewStudio = {IDC_NEW_STUDIO_PATH_LABEL, IDC_NEW_STUDIO_PATH_EDIT, IDC_NEW_STUDIO_SDK_LABEL,
                        IDC_NEW_STUDIO_SDK_EDIT};
const Ids kNewAdt = {IDC_NEW_ADT_ROOT_LABEL, IDC_NEW_ADT_BROWSE, IDC_NEW_ADT_ROOT_EDIT};
const Ids kNewStandalone = {IDC_NEW_ECLIPSE_ROOT_LABEL, IDC_NEW_ECLIPSE_BROWSE, IDC_NEW_ECLIPSE_ROOT_EDIT,
                            IDC_NEW_SDK_ROOT_LABEL,     IDC_NEW_SDK_BROWSE,     IDC_NEW_SDK_ROOT_EDIT};
const Ids kStudioRadio = {IDC_NEW_STUDIO_RADIO};

Ids operator+(Ids all, const Ids& more) {
    all.insert(more.begin(), more.end());
    return all;
}

const std::wstring kEndedByIntegrate = L"end " + std::to_wstring(IDC_INTEGRATE);

std::wstring box(const std::wstring& text) { return L"box " + text; }

class Dialog : public CoreTest {
public:
    // Opens the dialog on what is seeded so far, then clicks, the browser choosing the folders given in turn.
    static bool open(const std::vector<int>& clicks = {}, const Lines& picked = {}) {
        for (const auto& path : picked) {
            // "?": the browser cannot start
            const BrowseResult result = path == L"?" ? BrowseResult::AllocatorUnavailable : BrowseResult::Chosen;
            fake::state().browseAnswers.push_back({result, path});
        }
        readIntegrationRecord();
        findAndroidStudio();
        const bool opened = onMainDialogInit(reinterpret_cast<platform::Window>(0xD1A));  // owns the shell's work
        for (int id : clicks) press(id);
        return opened;
    }
    // A notification with the button's mark as it stands then.
    static bool notify(int id, unsigned code, int check) {
        fake::state().checks[id] = check;
        return onMainDialogCommand(id, code);
    }
    // A click as the platform reports it: automatic buttons mark themselves first, the check box by turns.
    static bool press(int id) {
        const int mark = id == IDC_CLEAN_CHECK ? 1 - fake::state().checks[id] : platform::kBstChecked;
        return notify(id, platform::kBnClicked, mark);
    }
    // The controls enabled, or marked, of those the dialog sets.
    static Ids on(const std::map<int, int>& marks) {
        Ids ids;
        for (const auto& [id, mark] : marks)
            if (mark) ids.insert(id);
        return ids;
    }
    // The log lines of the kinds given (their first words), or all; each message box by its text alone.
    static Lines logOf(const std::set<std::wstring>& kinds = {}) {
        Lines lines;
        for (auto line : fake::withoutBookkeeping()) {
            if (line.rfind(L"box ", 0) == 0) line.erase(line.find(L'|'));
            if (kinds.empty() || kinds.count(line.substr(0, line.find(L' ')))) lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(Dialog, EnablingFollowsTheRecordedAndTheSelectedKind) {
    struct Row {
        const char* name;
        const wchar_t* recordValue;  // the record's one value, C:\rec
        const wchar_t* studioSdk;    // Android Studio's SdkPath; null: no key
        std::vector<int> clicks;
        Ids enabled;                 // of the controls the dialog sets
        Ids checked;                 // of the radios and the clean box
        std::wstring oldStudioPath;  // what IDC_OLD_STUDIO_PATH_EDIT shows
        std::wstring newStudioSdk;   // what IDC_NEW_STUDIO_SDK_EDIT shows
    };
    // clang-format off
    const Row rows[] = {
        {"recorded Android Studio, not installed: its SDK path empty", L"AndroidStudioPath", L"", {},
         kOldStudio + kNewAdt, {IDC_NEW_ADT_RADIO}, kNotInstalled, kNotInstalled},
        {"recorded Android Studio, installed", L"AndroidStudioPath", L"C:\\studio-sdk", {},
         kOldStudio + kNewStudio + kStudioRadio, {IDC_NEW_STUDIO_RADIO}, L"C:\\rec", L"C:\\studio-sdk"},
        {"recorded standalone, standalone selected, no Android Studio", L"SDKRootFolder", nullptr,
         {IDC_NEW_STANDALONE_RADIO},
         kOldStandalone + kNewStandalone, {IDC_NEW_STANDALONE_RADIO}, kNotInstalled, kNotInstalled},
        {"Android Studio selected last", L"SDKRootFolder", L"C:\\studio-sdk",
         {IDC_NEW_ADT_RADIO, IDC_NEW_STANDALONE_RADIO, IDC_NEW_STUDIO_RADIO},
         kOldStandalone + kNewStudio + kStudioRadio, {IDC_NEW_STUDIO_RADIO}, L"", L"C:\\studio-sdk"},
        {"recorded ADT, ADT selected after Android Studio, clean checked", L"ADTRootFolder", L"C:\\studio-sdk",
         {IDC_NEW_ADT_RADIO, IDC_NEW_STUDIO_RADIO, IDC_NEW_ADT_RADIO, IDC_CLEAN_CHECK},
         kOldAdt + kNewAdt + kStudioRadio, {IDC_NEW_ADT_RADIO, IDC_CLEAN_CHECK}, L"", L"C:\\studio-sdk"}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        fake::setValue(kRecordKey, row.recordValue, L"C:\\rec");
        if (row.studioSdk) seedStudio();
        if (row.studioSdk) fake::setValue(kStudioKey, L"SdkPath", row.studioSdk);
        EXPECT_TRUE(open(row.clicks));
        EXPECT_EQ(on(fake::state().enabled), row.enabled);
        EXPECT_EQ(on(fake::state().checks), row.checked);
        EXPECT_EQ(fake::state().texts[IDC_OLD_STUDIO_PATH_EDIT], row.oldStudioPath);
        EXPECT_EQ(fake::state().texts[IDC_NEW_STUDIO_SDK_EDIT], row.newStudioSdk);
    }
    EXPECT_EQ(fake::state().texts[0], L"Quorvane v3.1");  // the caption
}

TEST_F(Dialog, BoxesCleanStepAndEndOfEveryFlow) {
    const Lines studio = {L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"};
    const Lines adt = {L"ADTRootFolder", L"C:\\old"};
    const std::wstring studioDone = box(kAndroidStudioOutcome.success);
    enum class Studio { None, KeyWithoutFolders, Installed };
    struct Row {
        const char* name;
        Lines record;  // value names and texts
        Studio studio;
        Lines picked;  // the browser's answers in turn
        std::vector<int> clicks;
        bool successDeclined;
        Lines seen;  // the boxes' texts, the deletes and the dialog's end
    };
    // clang-format off
    const Row rows[] = {
        {"the browser cannot start", {}, Studio::None, {L"?"}, {IDC_NEW_ECLIPSE_BROWSE}, false,
         {box(L"Error opening browse window"), box(kEclipseBrowseTexts.noFolder)}},
        {"a path is shown as it is", {}, Studio::None, {L"C:\\100%s"}, {IDC_NEW_SDK_BROWSE}, false,
         {box(L"The folder \"C:\\100%s\" is not a valid Android SDK root folder!")}},
        {"no Eclipse root yet, then no SDK root yet", {}, Studio::None, {L"C:\\adt\\eclipse"},
         {IDC_NEW_STANDALONE_RADIO, IDC_INTEGRATE, IDC_NEW_ECLIPSE_BROWSE, IDC_INTEGRATE}, false,
         {box(kChooseEclipseFirst), box(kStandaloneOutcome.failure), box(kChooseSdkFirst),
          box(kStandaloneOutcome.failure)}},
        {"Android Studio's folders missing", {}, Studio::KeyWithoutFolders, {}, {IDC_INTEGRATE}, false,
         {box(kAndroidStudioOutcome.failure)}},
        {"success declined: the dialog stays", adt, Studio::None, {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"},
         {IDC_NEW_STANDALONE_RADIO, IDC_NEW_ECLIPSE_BROWSE, IDC_NEW_SDK_BROWSE, IDC_INTEGRATE}, true,
         {box(kStandaloneOutcome.success)}},
        {"the Android Studio branch never cleans a recorded Android Studio", studio, Studio::Installed, {},
         {IDC_CLEAN_CHECK, IDC_INTEGRATE}, false, {studioDone, kEndedByIntegrate}},
        {"ADT cleans a recorded Android Studio", studio, Studio::Installed, {L"C:\\adt"},
         {IDC_NEW_ADT_RADIO, IDC_NEW_ADT_BROWSE, IDC_CLEAN_CHECK, IDC_INTEGRATE}, false,
         {L"delete C:\\old\\plugins\\.quorvane\\0 614 owned", L"delete C:\\old-sdk\\add-ons\\.quorvane\\0 614 owned",
          box(kAdtOutcome.success), kEndedByIntegrate}},
        {"Android Studio cleans a recorded ADT", adt, Studio::Installed, {}, {IDC_CLEAN_CHECK, IDC_INTEGRATE}, false,
         {L"delete C:\\old\\eclipse\\plugins\\.quorvane\\0 614 owned", L"delete C:\\old\\sdk\\add-ons\\.quorvane\\0 614 owned",
          studioDone, kEndedByIntegrate}},
        {"the payload is never a target", {L"EclipseRootFolder", L"C:\\old", L"SDKRootFolder", L"C:\\Setup"},
         Studio::Installed, {}, {IDC_CLEAN_CHECK, IDC_INTEGRATE}, false, {studioDone, kEndedByIntegrate}},
        {"an ADT Bundle picked before an Android Studio integration is asked for again", {}, Studio::Installed,
         {L"C:\\adt"}, {IDC_NEW_ADT_BROWSE, IDC_NEW_STUDIO_RADIO, IDC_INTEGRATE, IDC_NEW_ADT_RADIO, IDC_INTEGRATE},
         true, {studioDone, box(kChooseAdtFirst), box(kAdtOutcome.failure)}},
        {"no clean step unless checked", adt, Studio::Installed, {L"C:\\adt"},
         {IDC_NEW_ADT_RADIO, IDC_NEW_ADT_BROWSE, IDC_INTEGRATE}, false, {box(kAdtOutcome.success), kEndedByIntegrate}}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        seedRecord(row.record);
        if (row.studio != Studio::None) seedStudio(row.studio == Studio::Installed);
        fake::add(L"C:\\old\\eclipse\\plugins\\core");
        fake::add(L"C:\\old\\sdk\\add-ons\\addon");
        // Leads elsewhere without showing as a link: the clean step leaves it alone.
        fake::state().nodes[L"c:\\old\\eclipse\\plugins\\ui.jar"] = {false, 0, L"c:\\elsewhere.jar"};
        if (row.successDeclined) fake::state().answers = {platform::kIdCancel};
        open(row.clicks, row.picked);
        EXPECT_EQ(logOf({L"box", L"delete", L"end"}), row.seen);
    }
}

TEST_F(Dialog, IntegrateCopiesBehindTheProgressWindowThenCleansThenWrites) {
    seedRecord({L"EclipseRootFolder", L"C:\\old-eclipse", L"SDKRootFolder", L"C:\\adt\\sdk"});  // shares a target
    fake::add(L"C:\\old-eclipse\\plugins\\core");
    open({IDC_NEW_ADT_BROWSE, IDC_CLEAN_CHECK}, {L"C:\\adt"});
    fake::state().log.clear();
    EXPECT_TRUE(press(IDC_INTEGRATE));
    EXPECT_EQ(logOf(),
              (Lines{L"progress created", L"progress shown", L"copy C:\\adt\\eclipse\\plugins\\core 615 owned",
                     L"copy C:\\adt\\eclipse\\plugins\\ui.jar 695 owned", L"mkdir C:\\adt\\sdk\\add-ons",
                     L"copy C:\\adt\\sdk\\add-ons\\addon 615 owned",
                     // The recorded SDK's add-ons are the ones just copied: kept.
                     L"move C:\\old-eclipse\\plugins\\core C:\\old-eclipse\\plugins\\.quorvane\\0",
                     L"delete C:\\old-eclipse\\plugins\\.quorvane\\0 614 owned", L"set AndroidStudioPath",
                     L"set AndroidStudioSDKPath", L"set ADTRootFolder", L"set EclipseRootFolder", L"set SDKRootFolder",
                     L"progress destroyed", box(kAdtOutcome.success), kEndedByIntegrate}));
    // A picked folder that is not valid clears the flag and keeps the field.
    open({IDC_NEW_ADT_BROWSE}, {L"C:\\old"});
    EXPECT_FALSE(gDialog.adtValid);
    EXPECT_EQ(fake::state().texts[IDC_NEW_ADT_ROOT_EDIT], L"C:\\adt");
    // A standalone environment gets its add-ons first; the ADT root picked before is emptied, as in the record.
    open({IDC_NEW_STANDALONE_RADIO, IDC_NEW_ECLIPSE_BROWSE, IDC_NEW_SDK_BROWSE},
         {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"});
    fake::state().log.clear();
    EXPECT_TRUE(press(IDC_INTEGRATE));
    EXPECT_EQ(logOf({L"copy"}).at(0), L"copy C:\\adt\\sdk\\add-ons\\addon 615 owned");
    EXPECT_TRUE(gDialog.newAdtRoot.empty());
}

// An open dialog holds no lock: an Integrate takes it for its work, and cleans what the record names by then.
TEST_F(Dialog, TheRunLockIsHeldFromTheIntegratePressToTheRecordWriteOnly) {
    seedRecord({L"ADTRootFolder", L"C:\\old"});
    fake::add(L"C:\\old\\eclipse\\plugins\\core");
    fake::add(L"C:\\old-eclipse\\plugins\\core");
    open({IDC_NEW_ADT_BROWSE, IDC_CLEAN_CHECK}, {L"C:\\adt"});
    EXPECT_EQ(std::count(fake::state().calls.begin(), fake::state().calls.end(), L"lock 600000"), 0);
    // A run killed in flight, which the Integrate finishes first: what it had copied where nothing was goes.
    fake::add(L"C:\\studio\\plugins\\.quorvane\\0-studio");
    fake::add(L"C:\\studio\\plugins\\studio");
    fake::setValue(L"64\\SOFTWARE\\Quorvane", L"Run 1", L"in flight|C:\\studio\\plugins");
    seedRecord({L"ADTRootFolder", L"", L"EclipseRootFolder", L"C:\\old-eclipse", L"SDKRootFolder", L"C:\\sdk"});
    fake::state().calls.clear();
    press(IDC_INTEGRATE);
    const Lines& calls = fake::state().calls;
    EXPECT_EQ(calls.front(), L"lock 600000");
    EXPECT_EQ(Lines(calls.end() - 2, calls.end()), (Lines{L"unlock", L"box"}));  // released before the outcome shows
    EXPECT_TRUE(fake::exists(L"C:\\old\\eclipse\\plugins\\core"));
    EXPECT_FALSE(fake::exists(L"C:\\old-eclipse\\plugins\\core"));
    EXPECT_FALSE(fake::exists(L"C:\\studio\\plugins\\studio") || fake::exists(L"C:\\studio\\plugins\\.quorvane"));
}

TEST_F(Dialog, AFailedIntegrateTakesBackWhatItPutWhereNothingWas) {
    fake::add(L"C:\\Setup\\plugins\\Eclipse\\core\\lib.jar", false, 7);
    fake::add(L"C:\\adt\\eclipse\\plugins\\ui.jar", false, 3);                    // there before this run
    fake::state().shortFiles[L"c:\\setup\\plugins\\eclipse\\core\\lib.jar"] = 2;  // the disk fills up
    open({IDC_NEW_STANDALONE_RADIO, IDC_NEW_ECLIPSE_BROWSE, IDC_NEW_SDK_BROWSE, IDC_INTEGRATE},
         {L"C:\\adt\\eclipse", L"C:\\adt\\sdk"});
    EXPECT_FALSE(fake::exists(L"C:\\adt\\sdk\\add-ons"));  // the add-ons went first, into a folder made for them
    EXPECT_FALSE(fake::exists(L"C:\\adt\\eclipse\\plugins\\core"));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\eclipse\\plugins\\ui.jar"));
}

TEST_F(Dialog, OtherNotificationsChangeNothingCancelAndCloseEndItCOMIsStoppedOnce) {
    open();
    notify(IDC_NEW_STANDALONE_RADIO, 6 /* BN_SETFOCUS */, platform::kBstChecked);
    notify(IDC_NEW_STANDALONE_RADIO, platform::kBnClicked, platform::kBstUnchecked);
    press(IDC_CLEAN_CHECK);
    notify(IDC_CLEAN_CHECK, platform::kBnClicked, 2 /* BST_INDETERMINATE */);
    notify(IDC_CLEAN_CHECK, 5 /* BN_DOUBLECLICKED */, platform::kBstUnchecked);
    EXPECT_TRUE(gDialog.cleanChecked);
    EXPECT_EQ(on(fake::state().enabled), kOldStandalone + kNewAdt);  // ADT still selected
    EXPECT_TRUE(onMainDialogCommand(IDCANCEL, 0));
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_FALSE(onMainDialogClose());
    // COM is stopped once.
    EXPECT_EQ(fake::state().log, (Lines{L"end " + std::to_wstring(IDCANCEL), L"co uninitialize"}));
    // COM that does not start is reported, and balanced at once.
    SetUp();
    fake::state().coInitializeResult = 1;  // S_FALSE
    EXPECT_FALSE(open());
    EXPECT_EQ(fake::state().log, (Lines{L"box Error opening browse window|ERROR|0", L"co uninitialize"}));  // MB_OK
}

TEST_F(Dialog, InstallThenUninstallRemovesFromTheRecordReadAtStart) {
    seedRecord({L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"});
    fake::state().answers = {platform::kIdCancel};  // the confirmation: no dialog, no uninstall
    runProgram(nullptr, L"-install -uninstall");
    // The program's own boxes: its caption, MB_SETFOREGROUND (0x10000), here with OK and Cancel (0x1).
    EXPECT_EQ(fake::state().log, Lines{L"box " + std::wstring(kIntroductionText) + L"|Quorvane v3.1|10001"});
    // The dialog rewrites the record before the uninstall runs.
    fake::state().inDialog = [] { open({IDC_NEW_ADT_BROWSE, IDC_INTEGRATE}, {L"C:\\adt"}); };
    runProgram(nullptr, L"-install -uninstall");
    const Lines& calls = fake::state().calls;  // the uninstall takes the lock again once the dialog has ended
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L"lock 600000"), 2);
    EXPECT_STREQ(fake::stored(kRecordKey, L"ADTRootFolder").c_str(), L"C:\\adt");
    EXPECT_FALSE(fake::exists(L"C:\\old\\plugins\\studio"));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\eclipse\\plugins\\core"));
}

TEST_F(Dialog, HardeningComesFirstAndARefusalChangesNothingElse) {
    for (const wchar_t* tail : {L"", L"-install -silence"}) {  // the usage box; a silent install
        Lines logs[2];
        for (bool refused : {false, true}) {
            SetUp();
            seedRecord({L"ADTRootFolder", L"C:\\adt"});
            fake::state().hardeningRefused = refused;
            runProgram(nullptr, tail);
            EXPECT_EQ(fake::state().calls.at(0), L"harden") << tail;
            logs[refused] = fake::state().log;
        }
        EXPECT_EQ(logs[1], logs[0]) << tail;
    }
}

}  // namespace
