#include <string>

#include "tests/unit/test_support.h"

namespace {

using fake::state;

class PayloadTransfer : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        addSamplePayload();
    }
};

TEST_F(PayloadTransfer, CopiesEachTopLevelEntryWithOneShellCallAndItsFlags) {
    fake::addFolder(L"C:\\adt\\eclipse\\plugins");
    gShellOwner = reinterpret_cast<platform::Window>(0x1234);
    ASSERT_TRUE(copyPayload(L"C:\\adt\\eclipse\\plugins", L"C:\\Setup\\plugins\\Eclipse"));

    const auto& calls = state().shellCalls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].from, L"C:\\Setup\\plugins\\Eclipse\\com.parvex.core");
    EXPECT_EQ(calls[0].to, L"C:\\adt\\eclipse\\plugins\\com.parvex.core");
    EXPECT_EQ(calls[0].flags, 0x0615u);
    EXPECT_EQ(calls[1].flags, 0x0695u);
    for (const auto& call : calls) {
        EXPECT_EQ(call.operation, platform::kFoCopy);
        EXPECT_TRUE(call.fromDoubleNulEnded);
        EXPECT_EQ(call.owner, gShellOwner);
        EXPECT_EQ(call.flags & platform::kFofAllowUndo, 0u);
    }
    EXPECT_TRUE(fake::exists(L"C:\\adt\\eclipse\\plugins\\com.parvex.ui.jar"));
}

TEST_F(PayloadTransfer, RemovesOnlyPayloadNamedEntriesForGood) {
    fake::addFolder(L"C:\\adt\\eclipse\\plugins\\com.parvex.core\\lib");
    fake::addFile(L"C:\\adt\\eclipse\\plugins\\org.other.jar");
    // com.parvex.ui.jar is absent from the target: skipped, still a success.
    ASSERT_TRUE(removePayload(L"C:\\adt\\eclipse\\plugins", L"C:\\Setup\\plugins\\Eclipse"));

    const auto& calls = state().shellCalls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].operation, platform::kFoDelete);
    EXPECT_EQ(calls[0].flags, 0x0614u);
    EXPECT_EQ(calls[1].flags, 0x0694u);
    EXPECT_EQ(calls[1].to, L"");
    EXPECT_EQ(fake::list(L"C:\\adt\\eclipse\\plugins"),
              std::vector<std::wstring>{L"org.other.jar"});
    ASSERT_EQ(state().debugOutput.size(), 1u);
    EXPECT_EQ(state().debugOutput[0], L"Error in SHFileOperation [0x2]");
}

TEST_F(PayloadTransfer, EmptyPayloadFolderSucceedsWithoutShellCalls) {
    fake::addFolder(L"C:\\Setup\\empty");
    EXPECT_TRUE(copyPayload(L"C:\\t", L"C:\\Setup\\empty"));
    EXPECT_TRUE(removePayload(L"C:\\t", L"C:\\Setup\\empty"));
    EXPECT_TRUE(state().shellCalls.empty());
}

TEST_F(PayloadTransfer, CopySucceedsOnlyWhenEveryEntryArrived) {
    // A failing entry does not stop the walk, but the step fails and the
    // error goes to the debugger only.
    state().failingCopies[L"C:\\Setup\\plugins\\Eclipse\\com.parvex.core"] = 0x75;
    EXPECT_FALSE(copyPayload(L"C:\\t", L"C:\\Setup\\plugins\\Eclipse"));
    EXPECT_EQ(state().shellCalls.size(), 2u);
    ASSERT_EQ(state().debugOutput.size(), 1u);
    EXPECT_EQ(state().debugOutput[0], L"Error in file operation 0x75");
    EXPECT_TRUE(state().messageBoxes.empty());

    fake::reset();
    SetUp();
    state().abortedCopies.insert(L"C:\\Setup\\plugins\\Eclipse\\com.parvex.ui.jar");
    EXPECT_FALSE(copyPayload(L"C:\\t", L"C:\\Setup\\plugins\\Eclipse"));

    EXPECT_FALSE(copyPayload(L"C:\\t", L"C:\\Setup\\missing"));
}

TEST_F(PayloadTransfer, PathsThatDoNotFitAreNeverCutShort) {
    // Every target + backslash + entry name is longer than 259 characters.
    const std::wstring target = L"C:\\" + std::wstring(256 - 3 - 1, L'x');
    fake::addFolder(L"C:\\Setup\\p");
    fake::addFile(L"C:\\Setup\\p\\abc");
    fake::addFile(L"C:\\Setup\\p\\ab");
    const std::wstring tooLong = target + L"xxxx";
    EXPECT_FALSE(copyPayload(tooLong.c_str(), L"C:\\Setup\\p"));
    EXPECT_FALSE(removePayload(tooLong.c_str(), L"C:\\Setup\\p"));
    // Neither the copy nor the delete reached a cut path; both entries were
    // too long, so nothing was called at all.
    for (const auto& call : state().shellCalls) {
        EXPECT_LT(call.from.size(), 260u);
        EXPECT_LT(call.to.size(), 260u);
    }
    EXPECT_TRUE(state().shellCalls.empty());

    // 259 characters fit exactly.
    const std::wstring fits = std::wstring(L"C:\\") + std::wstring(259 - 3 - 4, L'y');
    EXPECT_TRUE(copyPayload(fits.c_str(), L"C:\\Setup\\p"));
    ASSERT_EQ(state().shellCalls.size(), 2u);
    EXPECT_EQ(state().shellCalls[0].to.size(), 258u);
    EXPECT_EQ(state().shellCalls[1].to.size(), 259u);
}

TEST_F(PayloadTransfer, IntegratesInOrderAndCreatesOnlyTheAddOnTarget) {
    fake::addFolder(L"C:\\eclipse");
    fake::addFolder(L"C:\\sdk");
    ASSERT_TRUE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                     {L"C:\\eclipse", L"C:\\sdk"}, StepOrder::PluginsFirst));
    EXPECT_EQ(state().createdDirectories, std::vector<std::wstring>{L"C:\\sdk\\add-ons"});
    ASSERT_EQ(state().shellCalls.size(), 3u);
    EXPECT_EQ(state().shellCalls[0].to, L"C:\\eclipse\\plugins\\com.parvex.core");
    EXPECT_EQ(state().shellCalls[2].to, L"C:\\sdk\\add-ons\\addon-parvex");

    fake::state().shellCalls.clear();
    fake::state().createdDirectories.clear();
    ASSERT_TRUE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                                     {L"C:\\eclipse", L"C:\\sdk"}, StepOrder::AddOnsFirst));
    EXPECT_EQ(state().shellCalls[0].to, L"C:\\sdk\\add-ons\\addon-parvex");
    // The add-on folder exists now, so nothing is created.
    EXPECT_TRUE(state().createdDirectories.empty());
}

TEST_F(PayloadTransfer, MissingPayloadFolderStopsBeforeTheSecondStep) {
    state().folders.erase(L"c:\\setup\\plugins\\intellij idea\\parvex-studio");
    state().folders.erase(L"c:\\setup\\plugins\\intellij idea");
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AndroidStudio,
                                      {L"C:\\studio", L"C:\\android-sdk"},
                                      StepOrder::PluginsFirst));
    EXPECT_TRUE(state().shellCalls.empty());
    EXPECT_TRUE(state().createdDirectories.empty());

    state().folders.erase(L"c:\\setup\\add-ons\\addon-parvex");
    state().folders.erase(L"c:\\setup\\add-ons");
    fake::addFolder(L"C:\\adt\\eclipse\\plugins");
    fake::addFolder(L"C:\\adt\\sdk\\add-ons\\addon-parvex");
    fake::addFolder(L"C:\\adt\\eclipse\\plugins\\com.parvex.core");
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt", nullptr}));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\sdk\\add-ons\\addon-parvex"));
    EXPECT_FALSE(fake::exists(L"C:\\adt\\eclipse\\plugins\\com.parvex.core"));
}

TEST_F(PayloadTransfer, EmptyRootsNeverReachTheDriveRoot) {
    fake::addFolder(L"\\plugins\\com.parvex.core");
    fake::addFolder(L"\\eclipse\\plugins\\com.parvex.core");
    for (auto kind : {EnvironmentKind::AndroidStudio, EnvironmentKind::AdtBundle,
                      EnvironmentKind::StandaloneEclipseSdk}) {
        EXPECT_FALSE(integrateEnvironment(kind, {L"", L""}, StepOrder::PluginsFirst));
        EXPECT_FALSE(integrateEnvironment(kind, {L"", L""}, StepOrder::AddOnsFirst));
        EXPECT_FALSE(removeEnvironment(kind, {L"", L""}));
    }
    EXPECT_TRUE(state().shellCalls.empty());
    EXPECT_TRUE(state().createdDirectories.empty());

    // Roots that depend on the current drive or folder are left alone too.
    for (const wchar_t* root : {L"\\", L"\\adt", L"adt", L"C:adt", L"\\\\", L"\\\\\\x"}) {
        EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, {root, nullptr})) << root;
    }
    EXPECT_TRUE(state().shellCalls.empty());
    fake::addFolder(L"\\\\server\\share\\adt\\eclipse\\plugins");
    EXPECT_TRUE(
        removeEnvironment(EnvironmentKind::AdtBundle, {L"\\\\server\\share\\adt", nullptr}));
    state().shellCalls.clear();

    // A standalone Eclipse root with an empty SDK root: the plug-ins go in,
    // the add-on step fails instead of creating "\add-ons".
    fake::addFolder(L"C:\\eclipse\\plugins");
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::StandaloneEclipseSdk, {L"C:\\eclipse", L""},
                                      StepOrder::PluginsFirst));
    EXPECT_EQ(state().shellCalls.size(), 2u);
    EXPECT_TRUE(state().createdDirectories.empty());
}

TEST_F(PayloadTransfer, RootWithTrailingBackslashIsJoinedAsText) {
    fake::addFolder(L"C:\\adt");
    ASSERT_TRUE(integrateEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt\\", nullptr},
                                     StepOrder::PluginsFirst));
    EXPECT_EQ(state().shellCalls[0].to, L"C:\\adt\\\\eclipse\\plugins\\com.parvex.core");
    EXPECT_EQ(state().createdDirectories, std::vector<std::wstring>{L"C:\\adt\\\\sdk\\add-ons"});
}

TEST_F(PayloadTransfer, PayloadRootIsTheExecutablesFolder) {
    PathBuffer root;
    ASSERT_TRUE(payloadRoot(root));
    EXPECT_STREQ(root.text, L"C:\\Setup\\");

    // A module path that did not fit is not cut into a wrong folder.
    state().modulePath = L"C:\\" + std::wstring(300, L'z') + L"\\Quorvane.exe";
    EXPECT_FALSE(payloadRoot(root));
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, {L"C:\\adt", nullptr},
                                      StepOrder::PluginsFirst));
}

}  // namespace
