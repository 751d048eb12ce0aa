#include <string>

#include "driver/run_program.h"
#include "tests/unit/test_support.h"

namespace {

using fake::state;

class Run : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        fake::addFolder(L"C:\\Setup\\plugins\\Eclipse\\com.parvex.core");
        fake::addFolder(L"C:\\Setup\\plugins\\IntelliJ IDEA\\parvex-studio");
        fake::addFile(L"C:\\Setup\\add-ons\\addon-parvex.txt");
    }
};

TEST_F(Run, WithoutAnActionShowsTheUsageTextAndTouchesNothing) {
    for (const wchar_t* tail : {L"", L"install", L"-silence", L"-silent -uninstal"}) {
        fake::reset();
        EXPECT_EQ(runProgram(tail), 0);
        ASSERT_EQ(state().messageBoxes.size(), 1u);
        const auto& box = state().messageBoxes[0];
        EXPECT_EQ(box.caption, L"Quorvane v3.1");
        EXPECT_EQ(box.type, platform::kMbOk | platform::kMbSetForeground);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_TRUE(state().openedKeys.empty());
    }
    const std::wstring text = state().messageBoxes[0].text;
    EXPECT_EQ(text.substr(0, 54), L"Usage: Quorvane [-install | -uninstall] [-silence]\r\n\r\n");
    EXPECT_EQ(text.back(), L'.');
    EXPECT_NE(text.find(L"\r\n-silence\r\n\tsilence mode (no dialog box)."), std::wstring::npos);
}

TEST_F(Run, SilentInstallForAndroidStudioUsesTheFoldersFoundNow) {
    fake::setString(kRecordKey, L"AndroidStudioPath", L"C:\\old-studio");
    fake::setString(kRecordKey, L"AndroidStudioSDKPath", L"C:\\old-sdk");
    fake::setString(kStudioKey, L"Path", L"C:\\studio");
    fake::setString(kStudioKey, L"SdkPath", L"C:\\android-sdk");
    fake::addFolder(L"C:\\studio\\plugins");
    fake::addFolder(L"C:\\android-sdk");
    fake::addFolder(L"C:\\old-studio\\plugins");
    EXPECT_EQ(runProgram(L"/silence /install"), 0);
    EXPECT_TRUE(fake::exists(L"C:\\studio\\plugins\\parvex-studio"));
    EXPECT_TRUE(fake::exists(L"C:\\android-sdk\\add-ons\\addon-parvex.txt"));
    EXPECT_TRUE(fake::list(L"C:\\old-studio\\plugins").empty());
}

TEST_F(Run, SilentStandaloneInstallStopsWhenThePluginStepFails) {
    fake::setString(kRecordKey, L"EclipseRootFolder", L"C:\\eclipse");
    fake::setString(kRecordKey, L"SDKRootFolder", L"C:\\sdk");
    state().folders.erase(L"c:\\setup\\plugins\\eclipse\\com.parvex.core");
    state().folders.erase(L"c:\\setup\\plugins\\eclipse");
    EXPECT_EQ(runProgram(L"-INSTALL-SILENCE"), 0);
    EXPECT_TRUE(state().shellCalls.empty());
    EXPECT_FALSE(fake::exists(L"C:\\sdk\\add-ons"));
}

TEST_F(Run, UninstallWithoutARecordTouchesNothingAtTheDriveRoot) {
    fake::addFolder(L"\\plugins\\com.parvex.core");
    EXPECT_EQ(runProgram(L"-uninstall -silence"), 0);
    EXPECT_TRUE(state().shellCalls.empty());
    EXPECT_TRUE(fake::exists(L"\\plugins\\com.parvex.core"));
}

TEST_F(Run, CancelledConfirmationEndsTheRunBeforeAnUninstall) {
    fake::setString(kRecordKey, L"ADTRootFolder", L"C:\\adt");
    fake::addFolder(L"C:\\adt\\eclipse\\plugins\\com.parvex.core");
    state().messageBoxAnswers = {platform::kIdCancel};
    EXPECT_EQ(runProgram(L"-install -uninstall"), 0);
    ASSERT_EQ(state().messageBoxes.size(), 1u);
    EXPECT_EQ(state().messageBoxes[0].type, platform::kMbOkCancel | platform::kMbSetForeground);
    EXPECT_EQ(state().messageBoxes[0].text.substr(0, 30), L"The Quorvane will install Parv");
    EXPECT_TRUE(fake::exists(L"C:\\adt\\eclipse\\plugins\\com.parvex.core"));
}

}  // namespace
