// The steps of every kind and run mode, and the safety of each copy and
// removal, through the driver's run.
#include <string>

#include "dialog/messages.h"
#include "environment/environment_steps.h"
#include "environment/payload_transfer.h"
#include "tests/unit/test_support.h"

namespace {

const std::wstring kEclipse = L"C:\\Setup\\plugins\\Eclipse\\";
const std::wstring kStudio = L"C:\\Setup\\plugins\\IntelliJ IDEA\\";
const std::wstring kAddOns = L"C:\\Setup\\add-ons\\";

class Transfer : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        for (const wchar_t* root : {L"C:\\studio\\plugins", L"C:\\studio-sdk", L"C:\\old\\plugins",
                                    L"C:\\old-sdk\\add-ons", L"C:\\adt\\eclipse\\plugins",
                                    L"C:\\adt\\sdk", L"C:\\eclipse\\plugins", L"C:\\sdk"}) {
            fake::folder(root);
        }
        fake::state().log.clear();
    }

    Lines run(const wchar_t* tail) {
        fake::state().log.clear();
        runProgram(nullptr, tail);
        return fake::state().log;
    }
};

TEST_F(Transfer, StepsOfEveryKindAndRunModeInOrder) {
    struct Row {
        Lines record;  // name, value, ...
        bool studioFound;
        const wchar_t* tail;
        Lines log;
    };
    const Lines adtRecord = {L"ADTRootFolder", L"C:\\adt"};
    const Lines standaloneRecord = {L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder",
                                    L"C:\\sdk"};
    const Lines studioRecord = {L"AndroidStudioPath", L"C:\\old",       L"AndroidStudioSDKPath",
                                L"C:\\old-sdk",       L"ADTRootFolder", L"C:\\adt"};
    const Row rows[] = {
        {adtRecord,
         false,
         L"-install -silence",
         {L"copy " + kEclipse + L"core > C:\\adt\\eclipse\\plugins\\core 615",
          L"copy " + kEclipse + L"ui.jar > C:\\adt\\eclipse\\plugins\\ui.jar 695",
          L"mkdir C:\\adt\\sdk\\add-ons",
          L"copy " + kAddOns + L"addon > C:\\adt\\sdk\\add-ons\\addon 615"}},
        {standaloneRecord,
         true,
         L"/silence /install",
         {L"copy " + kEclipse + L"core > C:\\eclipse\\plugins\\core 615",
          L"copy " + kEclipse + L"ui.jar > C:\\eclipse\\plugins\\ui.jar 695",
          L"mkdir C:\\sdk\\add-ons", L"copy " + kAddOns + L"addon > C:\\sdk\\add-ons\\addon 615"}},
        // Android Studio's folders are the ones found now, not the recorded ones.
        {studioRecord,
         true,
         L"-INSTALL-SILENCE",
         {L"copy " + kStudio + L"studio > C:\\studio\\plugins\\studio 615",
          L"mkdir C:\\studio-sdk\\add-ons",
          L"copy " + kAddOns + L"addon > C:\\studio-sdk\\add-ons\\addon 615"}},
        {studioRecord, false, L"-install -silence", {}},
        // Removal uses the recorded folders; absent entries are skipped.
        {studioRecord,
         true,
         L"-uninstall",
         {L"delete C:\\old\\plugins\\studio 614", L"delete C:\\old-sdk\\add-ons\\addon 614"}},
        {standaloneRecord,
         false,
         L"-install -uninstall -silence",
         {L"copy " + kEclipse + L"core > C:\\eclipse\\plugins\\core 615",
          L"copy " + kEclipse + L"ui.jar > C:\\eclipse\\plugins\\ui.jar 695",
          L"mkdir C:\\sdk\\add-ons", L"copy " + kAddOns + L"addon > C:\\sdk\\add-ons\\addon 615",
          L"delete C:\\eclipse\\plugins\\core 614", L"delete C:\\eclipse\\plugins\\ui.jar 694",
          L"delete C:\\sdk\\add-ons\\addon 614"}},
        // No record at all: nothing anywhere, not at the drive's root either.
        {{}, true, L"-install -uninstall -silence", {}},
        {adtRecord,
         true,
         L"-silence",
         {L"box " + std::wstring(kUsageText) + L"|Quorvane v3.1|10000"}},
    };
    for (const Row& row : rows) {
        SetUp();
        fake::folder(L"C:\\old\\plugins\\studio");
        fake::folder(L"C:\\old-sdk\\add-ons\\addon");
        for (std::size_t i = 0; i + 1 < row.record.size(); i += 2) {
            fake::setValue(kRecordKey, row.record[i], row.record[i + 1]);
        }
        if (row.studioFound) {
            fake::setValue(kStudioKey, L"Path", L"C:\\studio");
            fake::setValue(kStudioKey, L"SdkPath", L"C:\\studio-sdk");
        }
        EXPECT_EQ(run(row.tail), row.log) << std::string(row.tail, row.tail + 8);
    }
}

TEST_F(Transfer, AnEnvironmentWithOneUnusableRootIsLeftAloneWhole) {
    for (const wchar_t* sdk : {L"", L"C:\\missing", L"sdk", L"\\\\.\\C:\\sdk", L"\\\\?\\C:\\sdk"}) {
        SetUp();
        fake::setValue(kRecordKey, L"EclipseRootFolder", L"C:\\eclipse");
        fake::setValue(kRecordKey, L"SDKRootFolder", sdk);
        fake::folder(L"C:\\eclipse\\plugins\\core");
        EXPECT_EQ(run(L"-install -uninstall -silence"), Lines{});
        EXPECT_FALSE(fake::exists(L"C:\\missing"));
    }
}

TEST_F(Transfer, ACopyCountsOnlyWhenItsResultIsThere) {
    EXPECT_TRUE(copyPayload(L"C:\\eclipse\\plugins", L"C:\\Setup\\plugins\\Eclipse", nullptr));
    fake::state().lostCopies = {kEclipse + L"core"};
    EXPECT_FALSE(copyPayload(L"C:\\sdk", L"C:\\Setup\\plugins\\Eclipse", nullptr));
    EXPECT_TRUE(fake::exists(L"C:\\sdk\\ui.jar"));  // the walk goes on
    fake::state().shellResults[kEclipse + L"ui.jar"] = 0x75;
    EXPECT_FALSE(copyPayload(L"C:\\adt", L"C:\\Setup\\plugins\\Eclipse", nullptr));
    EXPECT_EQ(fake::state().debug.back(), kEclipse + L"ui.jar");
    EXPECT_EQ(fake::state().debug[fake::state().debug.size() - 2], L"Error in file operation 0x75");
    // A file where a folder was copied is not the copy.
    fake::state().shellResults.clear();
    fake::state().lostCopies.clear();
    fake::file(L"C:\\kinds\\core");
    fake::state().lostCopies = {kEclipse + L"core"};
    EXPECT_FALSE(copyPayload(L"C:\\kinds", L"C:\\Setup\\plugins\\Eclipse", nullptr));
    EXPECT_FALSE(copyPayload(L"C:\\sdk", L"C:\\Setup\\missing", nullptr));
}

TEST_F(Transfer, AFailedStepStopsTheEnvironment) {
    fake::state().shellResults[kEclipse + L"core"] = 0x7c;
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt", nullptr},
                                      StepOrder::PluginsFirst, nullptr));
    EXPECT_TRUE(fake::logOf(L"mkdir").empty());
    // The standalone integration from the dialog puts the add-ons first.
    fake::state().log.clear();
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                      {L"C:\\eclipse", L"C:\\sdk"}, StepOrder::AddOnsFirst,
                                      nullptr));
    EXPECT_EQ(fake::state().log.front(), L"mkdir C:\\sdk\\add-ons");
    fake::state().nodes.erase(L"c:\\setup\\add-ons\\addon");
    fake::state().nodes.erase(L"c:\\setup\\add-ons");
    fake::folder(L"C:\\adt\\eclipse\\plugins\\core");
    fake::folder(L"C:\\adt\\sdk\\add-ons\\addon");
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt", nullptr}, nullptr));
    EXPECT_FALSE(fake::exists(L"C:\\adt\\eclipse\\plugins\\core"));
}

TEST_F(Transfer, RemovalNeverGoesThroughALink) {
    auto& nodes = fake::state().nodes;
    const fake::Node folderLink{true, platform::kAttributeReparsePoint, L"c:\\outside"};
    const fake::Node hiddenLink{false, 0, L"c:\\outside\\kept"};  // shows as a plain file
    fake::folder(L"C:\\outside\\kept");
    fake::folder(L"C:\\sdk\\add-ons\\addon\\deep");
    nodes[L"c:\\eclipse\\plugins\\core"] = folderLink;
    nodes[L"c:\\eclipse\\plugins\\ui.jar"] = {false, platform::kAttributeReparsePoint,
                                              L"c:\\o.jar"};
    nodes[L"c:\\sdk\\add-ons\\addon\\deep\\link"] = folderLink;
    EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                  {L"C:\\eclipse", L"C:\\sdk"}, nullptr));
    // Links go as the links themselves, those below a payload folder first.
    EXPECT_EQ(fake::state().log,
              (Lines{L"rmdir C:\\eclipse\\plugins\\core", L"unlink C:\\eclipse\\plugins\\ui.jar",
                     L"rmdir C:\\sdk\\add-ons\\addon\\deep\\link",
                     L"delete C:\\sdk\\add-ons\\addon 614"}));
    // A link that does not show as one is left alone, and so is a folder
    // below which one lies, since the shell's delete would follow it.
    for (const wchar_t* where : {L"c:\\sdk\\add-ons\\addon", L"c:\\sdk\\add-ons\\addon\\x\\y"}) {
        fake::folder(L"C:\\sdk\\add-ons\\addon\\x");
        nodes[where] = hiddenLink;
        fake::state().log.clear();
        EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                      {L"C:\\eclipse", L"C:\\sdk"}, nullptr));
        EXPECT_TRUE(fake::logOf(L"delete").empty());
        EXPECT_TRUE(fake::exists(where));
    }
    // A link that cannot be removed is left as it is.
    nodes.erase(L"c:\\sdk\\add-ons\\addon\\x\\y");
    nodes[L"c:\\sdk\\add-ons\\addon\\x\\stuck"] = {true, platform::kAttributeReparsePoint | 0x1};
    fake::state().log.clear();
    removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, {L"C:\\eclipse", L"C:\\sdk"}, nullptr);
    EXPECT_TRUE(fake::logOf(L"delete").empty());
    EXPECT_TRUE(fake::exists(L"C:\\outside\\kept"));
}

TEST_F(Transfer, ThePayloadIsNeverATarget) {
    // A standalone SDK root that is the program's own folder.
    fake::folder(L"C:\\eclipse\\plugins\\core");
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                   {L"C:\\eclipse", L"C:\\Setup"}, nullptr));
    EXPECT_TRUE(fake::exists(kAddOns + L"addon"));
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                      {L"C:\\eclipse", L"c:\\setup\\."}, StepOrder::AddOnsFirst,
                                      nullptr));
    EXPECT_TRUE(fake::logOf(L"copy").empty());
}

TEST_F(Transfer, KeptFoldersAreSkippedByTheirIdentity) {
    fake::folder(L"C:\\adt\\eclipse\\plugins\\core");
    fake::folder(L"C:\\adt\\sdk\\add-ons\\addon");
    const KeptFolders kept =
        targetFolders(EnvironmentKind::AdtBundle, {L"c:\\x\\..\\ADT", nullptr});
    ASSERT_EQ(kept.count, 2);
    EXPECT_TRUE(
        removeEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt\\", nullptr}, nullptr, &kept));
    EXPECT_TRUE(fake::state().log.empty());
    EXPECT_EQ(targetFolders(EnvironmentKind::AdtBundle, {L"C:\\none", nullptr}).count, 0);
}

TEST_F(Transfer, PathsThatDoNotFitAreNeverCutShort) {
    const std::wstring root = L"C:\\" + std::wstring(259 - 3 - 16, L'r');  // + "\eclipse\plugins"
    fake::folder(root + L"\\eclipse\\plugins");
    fake::folder(root + L"\\sdk");
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr},
                                      StepOrder::PluginsFirst, nullptr));
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr}, nullptr));
    EXPECT_TRUE(fake::state().log.empty());

    fake::state().modulePath = L"C:\\" + std::wstring(300, L'z') + L"\\Quorvane.exe";
    PathBuffer payload;
    EXPECT_FALSE(payloadRoot(payload));
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt", nullptr},
                                      StepOrder::PluginsFirst, nullptr));
    fake::state().modulePath = L"C:\\Setup\\Quorvane.exe";
    ASSERT_TRUE(payloadRoot(payload));
    EXPECT_STREQ(payload.text, L"C:\\Setup\\");
}

}  // namespace
