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
        {{}, true, both, {}},  // nothing anywhere, not at the drive's root
        // One unusable root: the environment is left alone whole.
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\missing"}, false, both, {}},
        {{L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"\\\\?\\C:\\sdk"}, false, install, {}},
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

// The Wine tests show links that cannot be removed, or that do not show as links, being left alone.
TEST_F(Transfer, LinksGoAsTheLinksThemselves) {
    auto& nodes = fake::state().nodes;
    const fake::Node folderLink{true, platform::kAttributeReparsePoint, L"c:\\outside"};
    fake::add(L"C:\\outside\\kept"), fake::add(L"C:\\sdk\\add-ons\\addon\\deep");
    nodes[L"c:\\eclipse\\plugins\\core"] = nodes[L"c:\\sdk\\add-ons\\addon\\deep\\link"] = folderLink;
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, platform::kAttributeReparsePoint, L"c:\\o.jar"};
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_EQ(fake::state().log,
              (Lines{L"rmdir C:\\eclipse\\plugins\\core", L"unlink C:\\eclipse\\plugins\\ui.jar",
                     L"rmdir C:\\sdk\\add-ons\\addon\\deep\\link", L"delete C:\\sdk\\add-ons\\addon 614"}));
    // A folder below which a link cannot be removed is left alone: the shell's delete would follow it.
    fake::add(L"C:\\sdk\\add-ons\\addon\\x");
    nodes[L"c:\\sdk\\add-ons\\addon\\x"] = {true, platform::kAttributeReparsePoint | 0x1, L"c:\\outside"};
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\sdk\\add-ons\\addon\\x") && fake::exists(L"C:\\outside\\kept"));
}

TEST_F(Transfer, PathsThatDoNotFitAreNeverCutShort) {
    const std::wstring root = L"C:\\" + std::wstring(259 - 3 - 16, L'r');  // "eclipse\plugins" fits, its entries not
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
