// The steps of every kind and run mode, and the safety of each copy and removal.
#include "dialog/messages.h"
#include "environment/environment_steps.h"
#include "environment/payload_transfer.h"
#include "tests/unit/fake_platform.h"

namespace {

const std::wstring kEclipse = L"C:\\Setup\\plugins\\Eclipse";
const EnvironmentRoots kStandalone{L"C:\\eclipse", L"C:\\sdk"}, kAdt{L"C:\\adt", nullptr};

class Transfer : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        for (const wchar_t* folder :
             {L"C:\\studio\\plugins", L"C:\\studio-sdk", L"C:\\old\\plugins\\studio", L"C:\\old-sdk\\add-ons\\addon",
              L"C:\\adt\\eclipse\\plugins", L"C:\\adt\\sdk", L"C:\\eclipse\\plugins", L"C:\\sdk"})
            fake::add(folder);
    }
};

Lines copies(const std::wstring& plugins, const std::wstring& addOns) {
    return {L"copy " + kEclipse + L"\\core > " + plugins + L"\\core 615",
            L"copy " + kEclipse + L"\\ui.jar > " + plugins + L"\\ui.jar 695", L"mkdir " + addOns,
            L"copy C:\\Setup\\add-ons\\addon > " + addOns + L"\\addon 615"};
}

TEST_F(Transfer, StepsOfEveryKindAndRunModeInOrder) {
    const Lines adt = {L"ADTRootFolder", L"C:\\adt"},
                standalone = {L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\sdk"},
                studio = {L"AndroidStudioPath", L"C:\\old",       L"AndroidStudioSDKPath",
                          L"C:\\old-sdk",       L"ADTRootFolder", L"C:\\adt"};
    Lines both = copies(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons");
    for (const wchar_t* e :
         {L"C:\\eclipse\\plugins\\core 614", L"C:\\eclipse\\plugins\\ui.jar 694", L"C:\\sdk\\add-ons\\addon 614"})
        both.push_back(std::wstring(L"delete ") + e);
    const std::tuple<Lines, bool, const wchar_t*, Lines> rows[] = {
        // record, Android Studio found, tail, log
        {adt, false, L"-install -silence", copies(L"C:\\adt\\eclipse\\plugins", L"C:\\adt\\sdk\\add-ons")},
        {standalone, true, L"/silence /install", copies(L"C:\\eclipse\\plugins", L"C:\\sdk\\add-ons")},
        // Android Studio's folders are the ones found now, not the recorded ones.
        {studio,
         true,
         L"-INSTALL-SILENCE",
         {L"copy C:\\Setup\\plugins\\IntelliJ IDEA\\studio > C:\\studio\\plugins\\studio 615",
          L"mkdir C:\\studio-sdk\\add-ons", L"copy C:\\Setup\\add-ons\\addon > C:\\studio-sdk\\add-ons\\addon 615"}},
        {studio, false, L"-install -silence", {}},
        // Removal: the recorded folders; absent entries skipped.
        {studio,
         true,
         L"-uninstall",
         {L"delete C:\\old\\plugins\\studio 614", L"delete C:\\old-sdk\\add-ons\\addon 614"}},
        {standalone, false, L"-install -uninstall -silence", both},
        {{}, true, L"-install -uninstall -silence", {}},  // nothing anywhere, not at the drive's root
        // One unusable root: the environment is left alone whole.
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\missing"},
         false,
         L"-install -uninstall -silence",
         {}},
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"\\\\?\\C:\\sdk"}, false, L"-install -silence", {}},
        {adt, true, L"-silence", {L"box " + std::wstring(kUsageText) + L"|Quorvane v3.1|10000"}}};
    for (const auto& [record, studioFound, tail, log] : rows) {
        SetUp();
        seedRecord(record);
        if (studioFound) seedStudio();
        runProgram(nullptr, tail);
        EXPECT_EQ(fake::state().log, log) << narrow(tail);
    }
}

TEST_F(Transfer, ACopyCountsOnlyWhenItsResultIsThereAndAFailedStepStopsTheEnvironment) {
    fake::state().shellResults[kEclipse + L"\\core"] = -1;  // reported done, never arrived
    EXPECT_FALSE(copyPayload(L"C:\\sdk", kEclipse.c_str(), nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\sdk\\ui.jar"));  // the walk goes on
    fake::add(L"C:\\kinds\\core", false);           // a file where the folder was to arrive
    EXPECT_FALSE(copyPayload(L"C:\\kinds", kEclipse.c_str(), nullptr));
    EXPECT_EQ(fake::state().debug, (Lines{L"Copy not in place, attributes 0x0", L"C:\\sdk\\core",
                                          L"Copy not in place, attributes 0x20", L"C:\\kinds\\core"}));
    fake::state().shellResults[kEclipse + L"\\core"] = 0x7c;
    fake::state().log.clear();
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, kAdt, StepOrder::PluginsFirst, nullptr));
    EXPECT_TRUE(fake::logOf(L"mkdir").empty());
    // The standalone integration from the dialog puts the add-ons first.
    EXPECT_FALSE(
        integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, StepOrder::AddOnsFirst, nullptr));
    EXPECT_EQ(fake::logOf(L"mkdir"), Lines{L"mkdir C:\\sdk\\add-ons"});
    fake::state().nodes.erase(L"c:\\setup\\plugins\\eclipse");
    fake::add(L"C:\\adt\\sdk\\add-ons\\addon");
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, kAdt, nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\sdk\\add-ons\\addon"));
}

TEST_F(Transfer, RemovalNeverGoesThroughALink) {
    auto& nodes = fake::state().nodes;
    const fake::Node folderLink{true, platform::kAttributeReparsePoint, L"c:\\outside"};
    fake::add(L"C:\\outside\\kept"), fake::add(L"C:\\sdk\\add-ons\\addon\\deep");
    nodes[L"c:\\eclipse\\plugins\\core"] = nodes[L"c:\\sdk\\add-ons\\addon\\deep\\link"] = folderLink;
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, platform::kAttributeReparsePoint, L"c:\\o.jar"};
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    // Links go as the links themselves, those below a payload folder first.
    EXPECT_EQ(fake::state().log,
              (Lines{L"rmdir C:\\eclipse\\plugins\\core", L"unlink C:\\eclipse\\plugins\\ui.jar",
                     L"rmdir C:\\sdk\\add-ons\\addon\\deep\\link", L"delete C:\\sdk\\add-ons\\addon 614"}));
    // A link that does not show as one is left alone, and so is a folder below which one lies
    // (the shell's delete would follow it), or below which a link cannot be removed.
    for (const auto& [where, node] :
         {std::pair<const wchar_t*, fake::Node>{L"c:\\sdk\\add-ons\\addon", {false, 0, L"c:\\outside\\kept"}},
          {L"c:\\sdk\\add-ons\\addon\\x\\y", {false, 0, L"c:\\outside\\kept"}},
          {L"c:\\sdk\\add-ons\\addon\\x\\y", {true, platform::kAttributeReparsePoint | 0x1}}}) {
        nodes[L"c:\\sdk\\add-ons\\addon"] = {};
        fake::add(L"C:\\sdk\\add-ons\\addon\\x");
        nodes[where] = node;
        fake::state().log.clear();
        EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
        EXPECT_EQ(fake::logOf(L"delete"), Lines{}) << narrow(where);
        nodes.erase(L"c:\\sdk\\add-ons\\addon\\x\\y");
    }
    EXPECT_TRUE(fake::exists(L"C:\\outside\\kept"));
}

TEST_F(Transfer, ThePayloadIsNeverATargetNorWhatWasJustIntegratedNorAPathCutShort) {
    // A standalone SDK root that is the program's own folder.
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, {L"C:\\eclipse", L"C:\\Setup"}, nullptr));
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, {L"C:\\eclipse", L"c:\\setup"},
                                      StepOrder::AddOnsFirst, nullptr));
    // The clean step keeps the targets just integrated, by their identity.
    fake::add(L"C:\\adt\\eclipse\\plugins\\core"), fake::add(L"C:\\adt\\sdk\\add-ons\\addon");
    const KeptFolders kept = targetFolders(EnvironmentKind::AdtBundle, {L"c:\\ADT", nullptr});
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt\\", nullptr}, nullptr, &kept));
    // A root whose "eclipse\plugins" fits but whose entries do not.
    const std::wstring root = L"C:\\" + std::wstring(259 - 3 - 16, L'r');
    fake::add(root + L"\\eclipse\\plugins"), fake::add(root + L"\\sdk");
    EXPECT_FALSE(
        integrateEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr}, StepOrder::PluginsFirst, nullptr));
    EXPECT_EQ(fake::state().log, Lines{});
    PathBuffer payload;
    fake::state().modulePath = L"C:\\" + std::wstring(255, L'z') + L"\\Q.exe";
    EXPECT_FALSE(payloadRoot(payload));
    fake::state().modulePath = L"C:\\" + std::wstring(249, L'z') + L"\\Q.exe";
    EXPECT_TRUE(payloadRoot(payload) && payload.text == L"C:\\" + std::wstring(249, L'z') + L"\\");
}

}  // namespace
