#include <initializer_list>

#include "tests/unit/test_support.h"

namespace {

using fake::enabled;
using fake::state;

void expectEnabled(std::initializer_list<int> ids, bool expected) {
    for (int id : ids) EXPECT_EQ(enabled(id), expected) << "control " << id;
}

const std::initializer_list<int> kOldStudio = {1030, 1021, 1022, 1023, 1024};
const std::initializer_list<int> kOldAdt = {1032, 1017, 1002};
const std::initializer_list<int> kOldStandalone = {1031, 1018, 1012, 1019, 1013};
const std::initializer_list<int> kNewStudio = {1025, 1026, 1027, 1028};
const std::initializer_list<int> kNewAdt = {1014, 1003, 1001};
const std::initializer_list<int> kNewStandalone = {1015, 1010, 1008, 1016, 1011, 1009};

class MainDialog : public DialogTest {};

TEST_F(MainDialog, StartWithoutAndroidStudioAndAnAdtRecord) {
    fake::setString(kRecordKey, L"ADTRootFolder", L"C:\\adt");
    EXPECT_TRUE(open());
    EXPECT_EQ(state().dialogCaption, L"Quorvane v3.1");
    EXPECT_EQ(state().controlTexts[1002], L"C:\\adt");
    EXPECT_EQ(state().controlTexts[1022], L"Not installed!");
    EXPECT_EQ(state().controlTexts[1026], L"Not installed!");
    EXPECT_EQ(state().controlTexts[1028], L"Not installed!");
    expectEnabled(kOldAdt, true);
    expectEnabled(kOldStudio, false);
    expectEnabled(kOldStandalone, false);
    EXPECT_FALSE(enabled(1020));
    EXPECT_EQ(state().checks[1006], 1);
    EXPECT_TRUE(gDialog.adtSelected);
    expectEnabled(kNewAdt, true);
    expectEnabled(kNewStudio, false);
    expectEnabled(kNewStandalone, false);
    EXPECT_EQ(gShellOwner, kDialog);
}

TEST_F(MainDialog, StartWithAndroidStudioInstalledAndAnAdtRecord) {
    fake::setString(kRecordKey, L"ADTRootFolder", L"C:\\adt");
    fake::setString(kStudioKey, L"Path", L"C:\\studio");
    fake::setString(kStudioKey, L"SdkPath", L"C:\\studio-sdk");
    open();
    // The upper group shows the recorded Android Studio paths: empty here.
    EXPECT_EQ(state().controlTexts[1022], L"");
    EXPECT_EQ(state().controlTexts[1024], L"");
    expectEnabled(kOldAdt, true);
    expectEnabled(kOldStudio, false);
    EXPECT_EQ(state().controlTexts[1026], L"C:\\studio");
    EXPECT_EQ(state().controlTexts[1028], L"C:\\studio-sdk");
    EXPECT_TRUE(enabled(1020));
    EXPECT_EQ(state().checks[1020], 1);
    EXPECT_TRUE(gDialog.androidStudioSelected);
    expectEnabled(kNewStudio, true);
    expectEnabled(kNewAdt, false);
}

TEST_F(MainDialog, StartWithAnAndroidStudioRecordButNoAndroidStudio) {
    fake::setString(kRecordKey, L"AndroidStudioPath", L"C:\\studio");
    fake::setString(kRecordKey, L"EclipseRootFolder", L"C:\\eclipse");
    open();
    expectEnabled(kOldStudio, true);
    expectEnabled(kOldStandalone, false);
    EXPECT_EQ(state().controlTexts[1022], L"Not installed!");
    EXPECT_EQ(state().controlTexts[1024], L"Not installed!");
    EXPECT_EQ(state().controlTexts[1012], L"C:\\eclipse");
}

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

TEST_F(MainDialog, RadioSequenceSetsFlagsAndEnabling) {
    fake::setString(kStudioKey, L"Path", L"C:\\studio");
    fake::setString(kStudioKey, L"SdkPath", L"C:\\studio-sdk");
    open();
    press(1007);
    EXPECT_FALSE(gDialog.adtSelected);
    EXPECT_FALSE(gDialog.androidStudioSelected);
    EXPECT_EQ(state().checks[1020], 0);
    EXPECT_EQ(state().checks[1007], 1);
    expectEnabled(kNewStandalone, true);
    expectEnabled(kNewStudio, false);

    press(1020);
    EXPECT_FALSE(gDialog.adtSelected);
    EXPECT_TRUE(gDialog.androidStudioSelected);
    EXPECT_EQ(state().checks[1007], 0);
    expectEnabled(kNewStudio, true);
    expectEnabled(kNewStandalone, false);

    press(1006);
    EXPECT_TRUE(gDialog.adtSelected);
    EXPECT_FALSE(gDialog.androidStudioSelected);
    EXPECT_EQ(state().checks[1020], 0);
    expectEnabled(kNewAdt, true);

    // 1020 again keeps ADT selected, but Android Studio wins.
    press(1020);
    EXPECT_TRUE(gDialog.adtSelected);
    EXPECT_EQ(currentSelection(), Selection::AndroidStudio);
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
    expectEnabled(kNewAdt, true);
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
