#include "tests/unit/test_support.h"

namespace {

using fake::enabled;
using fake::state;

class MainDialog : public DialogTest {};

TEST_F(MainDialog, ComThatDidNotStartIsReportedAndTheDialogStillOpens) {
    state().coInitializeResult = 1;  // S_FALSE
    EXPECT_FALSE(open());
    ASSERT_EQ(state().messageBoxes.size(), 1u);
    EXPECT_EQ(state().messageBoxes[0].text, L"Error opening browse window");
    EXPECT_EQ(state().messageBoxes[0].caption, L"ERROR");
    EXPECT_EQ(state().messageBoxes[0].type, platform::kMbOk);
    EXPECT_EQ(state().coUninitializeCalls, 1);
    // Closing does not stop COM a second time.
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_EQ(state().coUninitializeCalls, 1);

    fake::reset();
    gDialog = DialogState();
    state().coInitializeResult =
        static_cast<std::int32_t>(0x80010106u);  // failed: nothing to balance
    EXPECT_FALSE(open());
    EXPECT_EQ(state().coUninitializeCalls, 0);
}

TEST_F(MainDialog, OtherNotificationsAndUncheckedRadiosChangeNoFlag) {
    open();
    // A notification other than BN_CLICKED (a focus change, say).
    state().checks[1007] = 1;
    onMainDialogCommand(1007, 6 /* BN_SETFOCUS */);
    EXPECT_TRUE(gDialog.adtSelected);
    // A radio that reports itself unchecked.
    state().checks[1007] = 0;
    onMainDialogCommand(1007, platform::kBnClicked);
    EXPECT_TRUE(gDialog.adtSelected);
    EXPECT_TRUE(enabled(1003));
    EXPECT_FALSE(enabled(1010));
}

TEST_F(MainDialog, CleanCheckBoxFollowsItsState) {
    open();
    press(1004);
    EXPECT_TRUE(gDialog.cleanChecked);
    state().checks[1004] = 2;  // indeterminate: unchanged
    onMainDialogCommand(1004, platform::kBnClicked);
    EXPECT_TRUE(gDialog.cleanChecked);
    state().checks[1004] = 0;
    onMainDialogCommand(1004, 5 /* BN_DOUBLECLICKED */);
    EXPECT_TRUE(gDialog.cleanChecked);
    onMainDialogCommand(1004, platform::kBnClicked);
    EXPECT_FALSE(gDialog.cleanChecked);
}

TEST_F(MainDialog, CancelAndCloseEndTheDialog) {
    open();
    EXPECT_FALSE(onMainDialogCommand(9999, platform::kBnClicked));
    EXPECT_TRUE(onMainDialogCommand(2, platform::kBnClicked));
    EXPECT_EQ(state().dialogEndedWith, 2);
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_EQ(state().coUninitializeCalls, 1);
    EXPECT_FALSE(onMainDialogClose());
    EXPECT_EQ(state().coUninitializeCalls, 1);

    runMainDialog();
    EXPECT_EQ(gShellOwner, nullptr);
}

}  // namespace
