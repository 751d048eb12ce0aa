// The steps of every kind and run mode, and the life of every entry a run touches: the payload whole, or exactly
// what was there, whatever fails or stops the run.
#include <algorithm>

#include "dialog/messages.h"
#include "environment/environment_steps.h"
#include "environment/root_validation.h"
#include "tests/unit/environment_trees.h"

namespace {

using Transfer = CoreTest;

// The log of an integration into plugins and addOns, then of a removal from them when asked.
Lines steps(const std::wstring& plugins, const std::wstring& addOns, bool removal = false) {
    Lines log = {L"copy " + plugins + L"\\core 615", L"copy " + plugins + L"\\ui.jar 695", L"mkdir " + addOns,
                 L"copy " + addOns + L"\\addon 615"};
    if (removal)
        log.insert(log.end(), {L"delete " + plugins + L"\\.quorvane\\0 614",
                               L"delete " + plugins + L"\\.quorvane\\1 694",
                               L"delete " + addOns + L"\\.quorvane\\0 614"});
    return log;
}

TEST_F(Transfer, StepsOfEveryKindAndRunModeInOrder) {
    // clang-format off
    const Lines adt = {L"ADTRootFolder", L"C:\\adt"},
                standalone = {L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\sdk"},
                studio = {L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\old-sdk"};
    const wchar_t *both = L"-install -uninstall -silence", *install = L"-install -silence";
    const std::tuple<Lines, bool, const wchar_t*, Lines> rows[] = {
        // record, Android Studio found, tail, the shell's work
        {adt, false, install, steps(L"C:\\adt\\eclipse\\plugins", L"C:\\adt\\sdk\\add-ons")},
        {standalone, true, L"/silence /install", steps(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons")},
        {standalone, false, both, steps(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons", true)},
        // Android Studio's folders are the ones found now; removal takes the recorded ones.
        {studio, true, L"-INSTALL-SILENCE", {L"copy C:\\studio\\plugins\\studio 615", L"mkdir C:\\studio-sdk\\add-ons",
                                             L"copy C:\\studio-sdk\\add-ons\\addon 615"}},
        {studio, false, install, {}},
        {studio, true, L"-uninstall", {L"delete C:\\old\\plugins\\.quorvane\\0 614",
                                       L"delete C:\\old-sdk\\add-ons\\.quorvane\\0 614"}},
        // One unusable root: the environment is left alone whole; so is one whose plug-in folder is missing, or a
        // file.
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\missing"}, false, both, {}},
        {{L"AndroidStudioPath", L"C:\\old", L"AndroidStudioSDKPath", L"C:\\missing"}, false, L"-uninstall", {}},
        {{L"EclipseRootFolder", L"C:\\studio-sdk", L"SDKRootFolder", L"C:\\sdk"}, false, install, {}},
        {{L"EclipseRootFolder", L"C:\\old-sdk", L"SDKRootFolder", L"C:\\sdk"}, false, install, {}},
        // A root is made a full path first: "x\.." never makes the shell create "x".
        {{L"ADTRootFolder", L"C:\\x\\..\\adt"}, false, install, steps(L"C:\\adt\\eclipse\\plugins", L"C:\\adt\\sdk\\add-ons")},
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\y\\..\\sdk"}, false, install,
         steps(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons")},
        {adt, true, L"-silence", {}}};
    // clang-format on
    for (const auto& [record, studioFound, tail, log] : rows) {
        SetUp();
        seedRecord(record);
        if (studioFound) seedStudio();
        runProgram(nullptr, tail);
        EXPECT_EQ(work(), log) << tail;
        // A run that acts takes the run lock before anything but its hardening, and holds it to its end.
        const Lines& calls = fake::state().calls;
        EXPECT_EQ(calls.at(1) == L"lock 600000" && calls.back() == L"unlock", std::wstring(tail) != L"-silence")
            << tail;
    }
}

TEST_F(Transfer, APreExistingEntryEndsAsThePayloadOrExactlyAsItWas) {
    seedOlderEntries();
    const Tree before = tree();
    // A file that arrives short, an empty file that never arrives, a folder made where a file goes: the run fails at
    // that entry, copies nothing after it, and every entry is back as it was, byte for byte.
    bool folderInTheWay = false;
    fake::state().duringShell = [&] {
        if (folderInTheWay && fake::state().log.back() == L"copy C:\\eclipse\\plugins\\ui.jar 695")
            fake::add(L"C:\\eclipse\\plugins\\ui.jar");
    };
    for (const auto& [source, bytes, failed] : std::vector<std::tuple<std::wstring, int, std::wstring>>{
             {L"c:\\setup\\plugins\\eclipse\\core\\lib.jar", 3, L"core 615"},
             {L"c:\\setup\\plugins\\eclipse\\ui.jar", -1, L"ui.jar 695"},
             {L"", 0, L"ui.jar 695"}}) {
        fake::state().shortFiles = {{source, bytes}};
        folderInTheWay = source.empty();
        EXPECT_FALSE(integrateStandalone()) << source;
        EXPECT_EQ(tree(), before) << source;
        const Lines copies = work();
        EXPECT_EQ(*std::find_if(copies.rbegin(), copies.rend(), [](const std::wstring& l) { return l[0] == L'c'; }),
                  L"copy C:\\eclipse\\plugins\\" + failed)
            << source;
        fake::state().log.clear();
    }
    fake::state().shortFiles.clear();
    fake::state().duringShell = nullptr;
    // Whole: each payload-named folder holds exactly the payload; the read-only file is replaced; the file of
    // another case goes; a compressed file is deleted by the shell with its folder, never as a link.
    EXPECT_TRUE(integrateStandalone());
    EXPECT_EQ(tree(), payloadNamedReplaced(before, true));
    EXPECT_EQ(std::count_if(fake::state().log.begin(), fake::state().log.end(),
                            [](const std::wstring& line) { return line.find(L"packed.bin") != std::wstring::npos; }),
              0);
    // The shell deletes only what was renamed into a staging folder: a delete killed half way is never restored.
    for (const std::wstring& line : work())
        EXPECT_TRUE(line[0] != L'd' || line.find(L"\\.quorvane\\") != std::wstring::npos) << line;
    // A removal whose plug-in step fails leaves the add-on step alone.
    const Tree integrated = tree();
    fake::state().nodes[L"c:\\setup\\plugins\\eclipse"].unlisted = true;
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_EQ(tree(), integrated);
    fake::state().nodes[L"c:\\setup\\plugins\\eclipse"].unlisted = false;
    // Removal takes the payload-named entries, read-only ones too, and nothing else.
    fake::state().nodes[L"c:\\eclipse\\plugins\\ui.jar"].extraAttributes = platform::kAttributeReadOnly;
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_EQ(tree(), payloadNamedReplaced(before, false));
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
    EXPECT_EQ(fake::withoutBookkeeping(),
              (Lines{L"rmdir C:\\eclipse\\plugins\\core", L"unlink C:\\eclipse\\plugins\\ui.jar",
                     L"move C:\\sdk\\add-ons\\addon C:\\sdk\\add-ons\\.quorvane\\0",
                     L"rmdir C:\\sdk\\add-ons\\.quorvane\\0\\deep\\link", L"delete C:\\sdk\\add-ons\\.quorvane\\0 614"}));
    // A folder below which a listing fails or breaks off, or an entry leads elsewhere unseen, is left alone
    // untouched; one below which a link cannot be removed stays out of the target, in the staging folder, until
    // a later run can remove it.
    fake::add(L"C:\\sdk\\add-ons\\addon\\deep\\unread");
    for (const auto& [below, node] : std::vector<std::pair<std::wstring, fake::Node>>{
             {L"deep", {true, 0, L"", 0, true}},
             {L"deep", {true, 0, L"", 0, false, true}},
             {L"f.jar", {false, 0, L"c:\\outside\\kept"}},
             {L"a", {true, platform::kAttributeReparsePoint | 0x1, L"c:\\outside"}}}) {
        nodes[L"c:\\sdk\\add-ons\\addon\\" + below] = node;
        const Tree arranged = tree();
        const bool leftover = below == L"a";
        EXPECT_NE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr), leftover) << below;
        EXPECT_EQ(fake::exists(L"C:\\sdk\\add-ons\\.quorvane\\0\\a"), leftover) << below;
        if (!leftover) {
            EXPECT_EQ(tree(), arranged) << below;
        }
        nodes.erase(L"c:\\sdk\\add-ons\\addon\\" + below);
    }
    EXPECT_TRUE(fake::exists(L"C:\\outside\\kept"));
}

// The double's shell copy writes through every link on its way, as the real one does.
TEST_F(Transfer, ACopyNeverWritesThroughALink) {
    auto& nodes = fake::state().nodes;
    fake::add(L"C:\\Setup\\plugins\\Eclipse\\core\\lib.jar", false, 7);
    fake::add(L"C:\\Setup\\add-ons\\addon\\deep\\link\\x.txt", false, 1);
    fake::add(L"C:\\outside\\notes.txt", false, 5);
    fake::add(L"C:\\sdk\\add-ons\\addon\\deep");
    nodes[L"c:\\eclipse\\plugins\\core"] = {true, platform::kAttributeReparsePoint, L"c:\\outside"};
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, platform::kAttributeReparsePoint, L"c:\\outside\\notes.txt"};
    nodes[L"c:\\sdk\\add-ons\\addon\\deep\\link"] = {true, platform::kAttributeReparsePoint, L"c:\\outside"};
    EXPECT_TRUE(integrateStandalone());
    EXPECT_EQ(nodes[L"c:\\outside\\notes.txt"].size, 5u);
    EXPECT_FALSE(fake::exists(L"C:\\outside\\lib.jar") || fake::exists(L"C:\\outside\\x.txt"));
    EXPECT_EQ(nodes[L"c:\\eclipse\\plugins\\core\\lib.jar"].size, 7u);
    // A file that leads elsewhere without showing as a link fails the run untouched.
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, 0, L"c:\\outside\\notes.txt"};
    const Tree arranged = tree();
    EXPECT_FALSE(integrateStandalone());
    EXPECT_EQ(tree(), arranged);
    // A link that cannot be removed shows only past the commit point: the payload stays, and the link waits in the
    // staging folder, where no IDE looks, for a later run.
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {true, platform::kAttributeReparsePoint | 0x1, L"c:\\outside"};
    EXPECT_FALSE(integrateStandalone());
    EXPECT_FALSE(nodes[L"c:\\eclipse\\plugins\\ui.jar"].folder);
    EXPECT_EQ(nodes[L"c:\\eclipse\\plugins\\.quorvane\\1"].leadsTo, L"c:\\outside");
}

// A root is refused when a target of it would lie in the program's folder or its payload, or would hold the
// program, whatever the path that leads there.
TEST_F(Transfer, NoTargetInTheProgramsFolderAndNoProgramInATarget) {
    fake::state().nodes[L"c:\\via"] = {true, platform::kAttributeReparsePoint, L"c:\\setup\\add-ons\\addon"};
    fake::state().nodes[L"c:\\home"] = {true, platform::kAttributeReparsePoint, L"C:\\Setup"};
    // Where the program is, the SDK root picked, whether it is valid.
    const std::tuple<const wchar_t*, const wchar_t*, bool> rows[] = {
        {L"C:\\Setup\\Quorvane.exe", L"C:\\Setup\\add-ons\\addon", false},
        {L"C:\\Setup\\Quorvane.exe", L"C:\\via", false},
        {L"C:\\Setup\\Quorvane.exe", L"C:\\Setup", false},
        {L"C:\\Setup\\Quorvane.exe", L"C:\\home", false},
        {L"C:\\home\\Quorvane.exe", L"C:\\Setup\\add-ons\\addon", false},  // the program started through a link
        {L"C:\\sdk\\add-ons\\addon\\Setup\\Quorvane.exe", L"C:\\sdk", false},
        {L"C:\\sdk\\Quorvane.exe", L"C:\\sdk", false},
        {L"C:\\tools\\Setup\\Quorvane.exe", L"C:\\sdk", true}};
    for (const auto& [program, root, valid] : rows) {
        forgetProgramFolders();
        fake::state().modulePath = program;
        fake::add(root + std::wstring(L"\\platform-tools\\adb.exe"), false);
        PathBuffer picked;
        copyText(picked.text, root);
        EXPECT_EQ(validateSdkRoot(picked), valid) << program << " " << root;
        // Nor is the environment integrated, the program's folders held and looked up again.
        fake::state().log.clear();
        if (!valid) {
            EXPECT_FALSE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, {L"C:\\eclipse", root},
                                              StepOrder::AddOnsFirst, nullptr))
                << root;
            EXPECT_EQ(work(), Lines{}) << root;
        }
    }
}

// While a run copies, its target and payload folders, and every folder above them, cannot be renamed.
TEST_F(Transfer, TheFoldersOfARunCannotBeRenamedWhileItRuns) {
    int renamed = 0;
    fake::state().duringShell = [&renamed] {
        for (const wchar_t* folder : {L"C:\\eclipse\\plugins", L"C:\\eclipse", L"C:\\sdk", L"C:\\Setup\\add-ons"})
            renamed += platform::moveEntry(folder, L"C:\\moved");
    };
    EXPECT_TRUE(integrateStandalone());
    EXPECT_EQ(renamed, 0);
    fake::state().duringShell = nullptr;
    EXPECT_TRUE(platform::moveEntry(L"C:\\eclipse", L"C:\\moved"));  // released when the run ends
}

}  // namespace
