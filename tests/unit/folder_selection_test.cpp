#include <string>

#include "environment/root_validation.h"
#include "tests/unit/test_support.h"

namespace {

using fake::state;
using platform::BrowseResult;

class FolderSelection : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        open();
    }
};

TEST_F(FolderSelection, AllocatorUnavailable) {
    state().browseAnswers = {{BrowseResult::AllocatorUnavailable, L""}};
    press(1010);
    ASSERT_EQ(state().messageBoxes.size(), 2u);
    EXPECT_EQ(state().messageBoxes[0].caption, L"ERROR");
    EXPECT_EQ(state().messageBoxes[1].text,
              L"Click Browse and select a valid Eclipse root folder!");
    EXPECT_EQ(state().coUninitializeCalls, 1);
    EXPECT_FALSE(gDialog.eclipseValid);
}

TEST(RootValidation, MarkersDecide) {
    fake::reset();
    PathBuffer root;
    copyText(root.text, L"C:\\r");
    fake::addFile(L"C:\\r\\eclipse.exe");
    EXPECT_FALSE(validateEclipseRoot(root));  // no plugins
    fake::addFile(L"C:\\r\\plugins");
    EXPECT_FALSE(validateEclipseRoot(root));  // plugins is a file
    fake::state().files.erase(L"c:\\r\\plugins");
    fake::addFolder(L"C:\\r\\plugins");
    EXPECT_TRUE(validateEclipseRoot(root));

    // A folder named adb.exe counts; nothing else is looked at.
    fake::addFolder(L"C:\\r\\platform-tools\\adb.exe");
    EXPECT_TRUE(validateSdkRoot(root));

    fake::addFolder(L"C:\\r\\eclipse\\eclipse.exe");
    fake::addFile(L"C:\\r\\eclipse\\plugins");
    fake::addFile(L"C:\\r\\sdk\\platform-tools\\adb.exe");
    EXPECT_FALSE(validateAdtRoot(root));

    // A marker path longer than a path buffer makes the root not valid,
    // even when the cut path would exist.
    const std::wstring deep = L"C:\\" + std::wstring(250, L'd');
    copyText(root.text, deep.c_str());
    fake::addFolder(deep + L"\\platform-tools\\adb.exe");
    fake::addFolder((deep + L"\\platform-tools\\adb.exe").substr(0, 259));
    EXPECT_FALSE(validateSdkRoot(root));
}

}  // namespace
