#include <algorithm>
#include <string>

#include "tests/unit/test_support.h"

namespace {

using fake::state;
using platform::BrowseResult;

const std::wstring kAdtSuccess =
    L"The selected ADT Bundle has been integrated with Parvex for Android successfully!";
const std::wstring kAdtFailure =
    L"The selected ADT has not been integrated with Parvex for Android! Please try again!";

class Integrate : public DialogTest {
protected:
    void makeAdt(const std::wstring& root) {
        fake::addFile(root + L"\\eclipse\\eclipse.exe");
        fake::addFolder(root + L"\\eclipse\\plugins");
        fake::addFile(root + L"\\sdk\\platform-tools\\adb.exe");
    }
    void pick(int button, const std::wstring& path) {
        state().browseAnswers.push_back({BrowseResult::Chosen, path});
        press(button);
    }
    // Every progress window was destroyed before each message was shown.
    void expectNoProgressWindowDuringMessages() {
        int alive = 0;
        for (const auto& event : state().events) {
            if (event == L"progress shown")
                alive = 1;
            if (event == L"progress destroyed")
                alive = 0;
            if (event.rfind(L"message ", 0) == 0) {
                EXPECT_EQ(alive, 0);
            }
        }
        EXPECT_TRUE(state().progressAlive.empty());
    }
};

TEST_F(Integrate, AdtBundleWithCleanOfTheRecordedStandaloneEnvironment) {
    fake::setString(kRecordKey, L"EclipseRootFolder", L"C:\\old-eclipse");
    fake::setString(kRecordKey, L"SDKRootFolder", L"C:\\old-sdk");
    fake::addFolder(L"C:\\old-eclipse\\plugins\\com.parvex.core");
    fake::addFile(L"C:\\old-eclipse\\plugins\\keep.jar");
    fake::addFolder(L"C:\\old-sdk\\add-ons\\addon-parvex");
    makeAdt(L"C:\\adt");
    open();
    pick(1003, L"C:\\adt");
    press(1004);

    EXPECT_TRUE(press(1005));
    EXPECT_EQ(state().dialogEndedWith, 1005);
    EXPECT_TRUE(fake::exists(L"C:\\adt\\eclipse\\plugins\\com.parvex.ui.jar"));
    EXPECT_TRUE(fake::exists(L"C:\\adt\\sdk\\add-ons\\addon-parvex"));
    EXPECT_EQ(fake::list(L"C:\\old-eclipse\\plugins"), std::vector<std::wstring>{L"keep.jar"});
    EXPECT_TRUE(fake::list(L"C:\\old-sdk\\add-ons").empty());
    EXPECT_EQ(fake::getString(kRecordKey, L"ADTRootFolder"), L"C:\\adt");
    EXPECT_EQ(fake::getString(kRecordKey, L"EclipseRootFolder"), L"");
    EXPECT_EQ(fake::getString(kRecordKey, L"AndroidStudioPath"), L"");
    EXPECT_EQ(messageTexts(), std::vector<std::wstring>{kAdtSuccess});
    // The copy ran behind the shown progress window, the clean after it.
    EXPECT_EQ(state().events.front(), L"progress shown");
    const auto firstDelete =
        std::find_if(state().events.begin(), state().events.end(),
                     [](const std::wstring& e) { return e.rfind(L"delete", 0) == 0; });
    const auto lastCopy =
        std::find_if(state().events.rbegin(), state().events.rend(),
                     [](const std::wstring& e) { return e.rfind(L"copy", 0) == 0; });
    EXPECT_LT(lastCopy.base() - state().events.begin(), firstDelete - state().events.begin() + 1);
    expectNoProgressWindowDuringMessages();
    // The record read at start is what the uninstall part still uses.
    EXPECT_STREQ(gRecord.eclipseRootFolder.text, L"C:\\old-eclipse");
}

TEST_F(Integrate, FailedEntryReportsFailureAndWritesNoRecord) {
    makeAdt(L"C:\\adt");
    fake::setString(kRecordKey, L"ADTRootFolder", L"C:\\old");
    open();
    pick(1003, L"C:\\adt");
    state().failingCopies[L"C:\\Setup\\plugins\\Eclipse\\com.parvex.core"] = 0x7c;
    EXPECT_FALSE(press(1005));
    EXPECT_EQ(messageTexts(), std::vector<std::wstring>{kAdtFailure});
    EXPECT_EQ(fake::getString(kRecordKey, L"ADTRootFolder"), L"C:\\old");
    EXPECT_FALSE(fake::exists(L"C:\\adt\\sdk\\add-ons"));
}

TEST_F(Integrate, UnwritableRecordStillSucceedsAndTellsTheDebugger) {
    makeAdt(L"C:\\adt");
    open();
    pick(1003, L"C:\\adt");
    EXPECT_TRUE(press(1005));
    EXPECT_EQ(messageTexts(), std::vector<std::wstring>{kAdtSuccess});
    ASSERT_FALSE(state().debugOutput.empty());
    EXPECT_EQ(state().debugOutput.back(), L"The integration record could not be written");
}

}  // namespace
