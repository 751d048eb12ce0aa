#include <cstring>
#include <string>

#include "tests/unit/test_support.h"

namespace {

using fake::state;

std::vector<unsigned char> bytesOf(const std::wstring& text, bool withNul) {
    std::vector<unsigned char> data((text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
    std::memcpy(data.data(), text.c_str(), data.size());
    return data;
}

class Record : public CoreTest {};

TEST_F(Record, KindFollowsTheValuesInOrder) {
    EXPECT_FALSE(readIntegrationRecord());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::StandaloneEclipseSdk);

    fake::setString(kRecordKey, L"ADTRootFolder", L"C:\\adt");
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::AdtBundle);
    EXPECT_STREQ(gRecord.adtRootFolder.text, L"C:\\adt");

    fake::setString(kRecordKey, L"AndroidStudioPath", L"C:\\studio");
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::AndroidStudio);
    EXPECT_FALSE(gRecord.recordedAdt);
    EXPECT_EQ(state().openKeyCount, 0);
}

TEST_F(Record, IsReadFromTheDefaultViewInTwoSteps) {
    fake::setString(kRecordKey, L"SDKRootFolder", L"C:\\sdk");
    // The same record in the 64-bit view is not the one a 32-bit build sees.
    fake::setString(
        L"64\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        L"Parvex for Android",
        L"ADTRootFolder", L"C:\\wrong");
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_TRUE(gRecord.adtRootFolder.empty());
    EXPECT_STREQ(gRecord.sdkRootFolder.text, L"C:\\sdk");
    ASSERT_EQ(state().openedKeys.size(), 2u);
    EXPECT_EQ(state().openedKeys[0],
              L"32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
}

TEST_F(Record, StringsThatCannotBeHeldWholeCountAsMissing) {
    // 259 characters with NUL fit; 260 do not; 259 stored without NUL are
    // completed; 260 without NUL cannot be held.
    const std::wstring fits(259, L'a');
    const std::wstring tooLong(260, L'b');
    fake::setString(kRecordKey, L"AndroidStudioPath", tooLong);
    fake::setString(kRecordKey, L"AndroidStudioSDKPath", fits);
    fake::setRaw(kRecordKey, L"ADTRootFolder", platform::kRegSz, bytesOf(fits, false));
    fake::setRaw(kRecordKey, L"EclipseRootFolder", platform::kRegSz, bytesOf(tooLong, false));
    fake::setRaw(kRecordKey, L"SDKRootFolder", 4 /* REG_DWORD */, {1, 0, 0, 0});
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_TRUE(gRecord.androidStudioPath.empty());
    EXPECT_EQ(std::wstring(gRecord.androidStudioSdkPath.text), fits);
    EXPECT_EQ(std::wstring(gRecord.adtRootFolder.text), fits);
    EXPECT_TRUE(gRecord.eclipseRootFolder.empty());
    EXPECT_TRUE(gRecord.sdkRootFolder.empty());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::AdtBundle);

    // Text followed by garbage after its NUL, as a 520-byte write leaves it.
    std::vector<unsigned char> padded = bytesOf(L"C:\\adt", true);
    padded.resize(520 * sizeof(wchar_t) / 2, 0x41);
    fake::setRaw(kRecordKey, L"ADTRootFolder", platform::kRegSz, padded);
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_STREQ(gRecord.adtRootFolder.text, L"C:\\adt");
}

TEST_F(Record, AndroidStudioIsInstalledOnlyWithBothValues) {
    EXPECT_FALSE(findAndroidStudio());
    EXPECT_FALSE(gAndroidStudio.installed);

    fake::setString(kStudioKey, L"Path", L"C:\\studio");
    EXPECT_FALSE(findAndroidStudio());
    EXPECT_FALSE(gAndroidStudio.installed);

    fake::setString(kStudioKey, L"SdkPath", L"");
    EXPECT_TRUE(findAndroidStudio());
    EXPECT_FALSE(gAndroidStudio.installed);

    fake::setString(kStudioKey, L"SdkPath", L"C:\\android-sdk");
    EXPECT_TRUE(findAndroidStudio());
    EXPECT_TRUE(gAndroidStudio.installed);
    EXPECT_EQ(state().openedKeys.back(), L"64\\SOFTWARE\\Android Studio");

    // Only the 64-bit view counts.
    fake::reset();
    fake::setString(L"32\\SOFTWARE\\Android Studio", L"Path", L"C:\\studio");
    fake::setString(L"32\\SOFTWARE\\Android Studio", L"SdkPath", L"C:\\sdk");
    EXPECT_FALSE(findAndroidStudio());
    EXPECT_FALSE(gAndroidStudio.installed);
}

TEST_F(Record, WriteKeepsOnlyTheSelectedEnvironment) {
    fake::setString(kRecordKey, L"ADTRootFolder", L"C:\\old-adt");
    ASSERT_TRUE(readIntegrationRecord());
    PathBuffer studio, studioSdk, adt, eclipse, sdk;
    copyText(studio.text, L"C:\\studio");
    copyText(studioSdk.text, L"C:\\studio-sdk");
    copyText(adt.text, L"C:\\new-adt");
    copyText(eclipse.text, L"C:\\eclipse");
    copyText(sdk.text, L"C:\\sdk");
    ASSERT_TRUE(
        writeIntegrationRecord(Selection::Standalone, {&studio, &studioSdk, &adt, &eclipse, &sdk}));
    EXPECT_EQ(fake::getString(kRecordKey, L"AndroidStudioPath"), L"");
    EXPECT_EQ(fake::getString(kRecordKey, L"AndroidStudioSDKPath"), L"");
    EXPECT_EQ(fake::getString(kRecordKey, L"ADTRootFolder"), L"");
    EXPECT_EQ(fake::getString(kRecordKey, L"EclipseRootFolder"), L"C:\\eclipse");
    EXPECT_EQ(fake::getString(kRecordKey, L"SDKRootFolder"), L"C:\\sdk");
    EXPECT_EQ(fake::valueSize(kRecordKey, L"SDKRootFolder"), sizeof(PathBuffer::text));
    // The working buffers of the other kinds stay empty; the record read at
    // start is unchanged.
    EXPECT_TRUE(studio.empty() && studioSdk.empty() && adt.empty());
    EXPECT_STREQ(gRecord.adtRootFolder.text, L"C:\\old-adt");
    EXPECT_EQ(state().openKeyCount, 0);

    fake::reset();
    EXPECT_FALSE(
        writeIntegrationRecord(Selection::AdtBundle, {&studio, &studioSdk, &adt, &eclipse, &sdk}));
    EXPECT_FALSE(fake::hasKey(kRecordKey));
}

}  // namespace
