// The steps of every kind and run mode, and the safety of each copy and removal.
#include "dialog/messages.h"
#include "environment/environment_steps.h"
#include "environment/payload_transfer.h"
#include "environment/root_validation.h"
#include "tests/unit/fake_platform.h"

namespace {

const std::wstring kEclipse = L"C:\\Setup\\plugins\\Eclipse";
const EnvironmentRoots kStandalone{L"C:\\eclipse", L"C:\\sdk"}, kAdt{L"C:\\adt", nullptr};

using Transfer = CoreTest;

// The log of an integration into plugins and addOns, then of a removal from them when asked.
Lines steps(const std::wstring& plugins, const std::wstring& addOns, bool removal = false) {
    Lines log = {L"copy " + plugins + L"\\core 615", L"copy " + plugins + L"\\ui.jar 695", L"mkdir " + addOns,
                 L"copy " + addOns + L"\\addon 615"};
    if (removal)
        log.insert(log.end(), {L"delete " + plugins + L"\\core 614", L"delete " + plugins + L"\\ui.jar 694",
                               L"delete " + addOns + L"\\addon 614"});
    return log;
}

TEST_F(Transfer, StepsOfEveryKindAndRunModeInOrder) {
    // clang-format off
    const Lines adt = {L"ADTRootFolder", L"C:\\adt"},
                standalone = {L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\sdk"},
                studio = {L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"};
    const wchar_t *both = L"-install -uninstall -silence", *install = L"-install -silence";
    const std::tuple<Lines, bool, const wchar_t*, Lines> rows[] = {
        // record, Android Studio found, tail, log
        {adt, false, install, steps(L"C:\\adt\\eclipse\\plugins", L"C:\\adt\\sdk\\add-ons")},
        {standalone, true, L"/silence /install", steps(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons")},
        {standalone, false, both, steps(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons", true)},
        // Android Studio's folders are the ones found now; removal takes the recorded ones.
        {studio, true, L"-INSTALL-SILENCE", {L"copy C:\\studio\\plugins\\studio 615", L"mkdir C:\\studio-sdk\\add-ons",
                                             L"copy C:\\studio-sdk\\add-ons\\addon 615"}},
        {studio, false, install, {}},
        {studio, true, L"-uninstall", {L"delete C:\\old\\plugins\\studio 614",
                                       L"delete C:\\old-sdk\\add-ons\\addon 614"}},
        // One unusable root: the environment is left alone whole.
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\missing"}, false, both, {}},
        // A root is made a full path first: "x\.." never makes the shell create "x".
        {{L"ADTRootFolder", L"C:\\x\\..\\adt"}, false, install, steps(L"C:\\adt\\eclipse\\plugins", L"C:\\adt\\sdk\\add-ons")},
        {adt, true, L"-silence", {L"box " + std::wstring(kUsageText) + L"|Quorvane v3.1|10000"}}};
    // clang-format on
    for (const auto& [record, studioFound, tail, log] : rows) {
        SetUp();
        seedRecord(record);
        if (studioFound) seedStudio();
        runProgram(nullptr, tail);
        EXPECT_EQ(fake::state().log, log) << tail;
    }
}

TEST_F(Transfer, ACopyCountsOnlyWhenItArrivedWholeAndAFailedStepStopsTheEnvironment) {
    const std::wstring jar = L"c:\\setup\\plugins\\eclipse\\core\\lib\\a.jar",
                       ui = L"c:\\setup\\plugins\\eclipse\\ui.jar";
    fake::add(jar, false, 100);
    // A payload file, the bytes of it that arrive (-1: none), and whether the copy counts.
    const std::tuple<std::wstring, int, bool> rows[] = {
        {jar, 100, true}, {jar, 40, false}, {jar, -1, false}, {ui, -1, false}};
    int row = 0;
    for (const auto& [file, arriving, whole] : rows) {
        fake::state().shortFiles = {{file, arriving}};
        const std::wstring target = L"C:\\t" + std::to_wstring(++row);
        EXPECT_EQ(copyPayload(target.c_str(), kEclipse.c_str(), nullptr), whole) << file << arriving;
    }
    fake::state().shortFiles.clear();
    // A file where the payload has a folder, below a folder already there: the copy is not whole.
    fake::add(L"C:\\k\\core\\lib", false);
    EXPECT_FALSE(copyPayload(L"C:\\k", kEclipse.c_str(), nullptr));
    // A source below whose path does not fit is never skipped unseen.
    fake::add(kEclipse + L"\\core\\" + std::wstring(230, L'n'), false);  // 260 characters
    EXPECT_FALSE(copyPayload(L"C:\\t", kEclipse.c_str(), nullptr));
    fake::state().shellResults[kEclipse + L"\\core"] = 0x7c;
    fake::state().log.clear();
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, kAdt, StepOrder::PluginsFirst, nullptr));
    EXPECT_FALSE(fake::exists(L"C:\\adt\\sdk\\add-ons"));
    // The standalone integration from the dialog puts the add-ons first; a silent install's failure stays for the
    // removal of the recorded environment.
    EXPECT_FALSE(
        integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, StepOrder::AddOnsFirst, nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\sdk\\add-ons"));
    fake::state().nodes.erase(L"c:\\setup\\plugins\\eclipse");
    fake::add(L"C:\\adt\\sdk\\add-ons\\addon");
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, kAdt, nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\sdk\\add-ons\\addon"));
}

// The Wine tests show links that cannot be removed, or that do not show as links, being left alone. The double's
// shell delete goes on through a folder link, as a recursive delete may.
TEST_F(Transfer, RemovalTakesLinksAsTheLinksThemselves) {
    auto& nodes = fake::state().nodes;
    const fake::Node folderLink{true, platform::kAttributeReparsePoint, L"c:\\outside"};
    fake::add(L"C:\\outside\\kept");
    fake::add(L"C:\\sdk\\add-ons\\addon\\deep");
    nodes[L"c:\\eclipse\\plugins\\core"] = folderLink;
    nodes[L"c:\\sdk\\add-ons\\addon\\deep\\link"] = folderLink;
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, platform::kAttributeReparsePoint, L"c:\\o.jar"};
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_EQ(fake::state().log,
              (Lines{L"rmdir C:\\eclipse\\plugins\\core", L"unlink C:\\eclipse\\plugins\\ui.jar",
                     L"rmdir C:\\sdk\\add-ons\\addon\\deep\\link", L"delete C:\\sdk\\add-ons\\addon 614"}));
    EXPECT_TRUE(fake::exists(L"C:\\outside\\kept"));
    // A folder below which a link cannot be removed is left alone; so is one below which a listing fails.
    fake::add(L"C:\\sdk\\add-ons\\addon\\x");
    nodes[L"c:\\sdk\\add-ons\\addon\\x"] = {true, platform::kAttributeReparsePoint | 0x1, L"c:\\outside"};
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\outside\\kept"));
    nodes[L"c:\\sdk\\add-ons\\addon\\x"] = folderLink;
    fake::add(L"C:\\sdk\\add-ons\\addon\\deep\\unread");
    nodes[L"c:\\sdk\\add-ons\\addon\\deep"].unlisted = true;
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\sdk\\add-ons\\addon\\deep\\unread"));
}

// The double's shell copy writes through every link on its way, as the real one does.
TEST_F(Transfer, ACopyNeverWritesThroughALink) {
    auto& nodes = fake::state().nodes;
    fake::add(kEclipse + L"\\core\\lib.jar", false, 7);
    fake::add(L"C:\\Setup\\add-ons\\addon\\deep\\link\\x.txt", false, 1);
    fake::add(L"C:\\outside\\notes.txt", false, 5);
    fake::add(L"C:\\sdk\\add-ons\\addon\\deep");
    nodes[L"c:\\eclipse\\plugins\\core"] = {true, platform::kAttributeReparsePoint, L"c:\\outside"};
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, platform::kAttributeReparsePoint, L"c:\\outside\\notes.txt"};
    nodes[L"c:\\sdk\\add-ons\\addon\\deep\\link"] = {true, platform::kAttributeReparsePoint, L"c:\\outside"};
    EXPECT_TRUE(
        integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, StepOrder::PluginsFirst, nullptr));
    EXPECT_EQ(nodes[L"c:\\outside\\notes.txt"].size, 5u);
    EXPECT_FALSE(fake::exists(L"C:\\outside\\lib.jar"));
    EXPECT_FALSE(fake::exists(L"C:\\outside\\x.txt"));
    // A file that leads elsewhere without showing as a link cannot be removed as the link itself.
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, 0, L"c:\\outside\\notes.txt"};
    EXPECT_FALSE(copyPayload(L"C:\\eclipse\\plugins", kEclipse.c_str(), nullptr));
    EXPECT_EQ(nodes[L"c:\\outside\\notes.txt"].size, 5u);
    // A link in the way that cannot be removed: the entry fails, and nothing goes through it.
    nodes[L"c:\\eclipse\\plugins\\core"] = {true, platform::kAttributeReparsePoint | 0x1, L"c:\\outside"};
    EXPECT_FALSE(copyPayload(L"C:\\eclipse\\plugins", kEclipse.c_str(), nullptr));
    EXPECT_FALSE(fake::exists(L"C:\\outside\\lib.jar"));
}

// A root is refused when a target of it would lie in the program's folder or its payload, or would hold the
// program, whatever the path that leads there.
TEST_F(Transfer, NoTargetInTheProgramsFolderAndNoProgramInATarget) {
    fake::state().nodes[L"c:\\via"] = {true, platform::kAttributeReparsePoint, L"c:\\setup\\add-ons\\addon"};
    // Where the program is, the SDK root picked, whether it is valid.
    const std::tuple<const wchar_t*, const wchar_t*, bool> rows[] = {
        {L"C:\\Setup\\Quorvane.exe", L"C:\\Setup\\add-ons\\addon", false},
        {L"C:\\Setup\\Quorvane.exe", L"C:\\via", false},
        {L"C:\\sdk\\add-ons\\addon\\Setup\\Quorvane.exe", L"C:\\sdk", false},
        {L"C:\\sdk\\Quorvane.exe", L"C:\\sdk", false},
        {L"C:\\tools\\Setup\\Quorvane.exe", L"C:\\sdk", true}};
    for (const auto& [program, root, valid] : rows) {
        fake::state().modulePath = program;
        fake::add(root + std::wstring(L"\\platform-tools\\adb.exe"), false);
        PathBuffer picked;
        copyText(picked.text, root);
        EXPECT_EQ(validateSdkRoot(picked), valid) << program << " " << root;
        EXPECT_EQ(rootsUsable(EnvironmentKind::StandaloneEclipseSdk, {L"C:\\eclipse", root}), valid) << root;
    }
}

TEST_F(Transfer, PathsThatDoNotFitAreNeverCutShort) {
    // Paths fit at 259 characters.
    for (std::size_t length : {258u, 259u, 260u, 300u}) {
        const std::wstring root = L"C:\\" + std::wstring(length - 5, L'r');
        const bool fits = length <= 259;
        PathBuffer joined, copied;
        EXPECT_EQ(joinPath(joined, root.c_str(), L"x"), fits) << length;
        EXPECT_EQ(std::wstring(joined.text), fits ? root + L"\\x" : L"") << length;
        EXPECT_EQ(copyText(copied.text, std::wstring(length, L't').c_str()), fits) << length;
    }
    const std::wstring root = L"C:\\" + std::wstring(259 - 3 - 16, L'r');  // "eclipse\plugins" fits, its entries not
    fake::add(root);
    EXPECT_FALSE(
        integrateEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr}, StepOrder::PluginsFirst, nullptr));
    EXPECT_EQ(fake::state().log, Lines{});
    // A removal whose target entries do not fit fails, as the copy does.
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr}, nullptr));
    // The program's path: 260 characters do not fit, 259 do.
    PathBuffer payload;
    fake::state().modulePath = L"C:\\" + std::wstring(251, L'z') + L"\\Q.exe";
    EXPECT_FALSE(payloadRoot(payload));
    fake::state().modulePath = L"C:\\" + std::wstring(250, L'z') + L"\\Q.exe";
    EXPECT_TRUE(payloadRoot(payload));
    EXPECT_EQ(payload.text, L"C:\\" + std::wstring(250, L'z') + L"\\");
}

}  // namespace
