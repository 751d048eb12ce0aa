// Pure rules: switch scanning, path bounds, usable roots, folder identity,
// and the record's reading and writing.
#include <string>

#include "driver/command_line.h"
#include "environment/folder_rules.h"
#include "tests/unit/test_support.h"

namespace {

TEST(SwitchScan, TailIsScannedAsOneText) {
    struct Row {
        const wchar_t* tail;
        bool install, uninstall, silent;
    };
    const Row rows[] = {
        {L"", false, false, false},
        {L"install uninstall", false, false, false},
        {L"-silence", false, false, true},
        {L"-silent -install", true, false, false},
        {L"/INSTALL", true, false, false},
        {L"-installer", true, false, false},
        {L"-uninstall", false, true, false},
        {L"/silence /install", true, false, true},
        {L"-INSTALL-SILENCE", true, false, true},
        {L"-install -uninstall -silence", true, true, true},
        {L"\"C:\\my-files\" -uninstall", false, true, false},
        {L"-uninstal", false, false, false},
        {L"--install", true, false, false},
        {L"-", false, false, false},
        {L"-Uninstall", false, true, false},
    };
    for (const Row& row : rows) {
        const RunOptions options = scanSwitches(row.tail);
        const std::wstring tail = row.tail;
        EXPECT_EQ(options.install, row.install) << std::string(tail.begin(), tail.end());
        EXPECT_EQ(options.uninstall, row.uninstall) << std::string(tail.begin(), tail.end());
        EXPECT_EQ(options.silent, row.silent) << std::string(tail.begin(), tail.end());
        EXPECT_EQ(options.actionGiven, row.install || row.uninstall);
    }
}

TEST(PathBounds, PathsFitAt259AndNeverAreCutShort) {
    for (std::size_t length : {257u, 258u, 259u, 260u, 300u}) {
        const std::wstring root = L"C:\\" + std::wstring(length - 5, L'r');
        PathBuffer joined;
        EXPECT_EQ(joinPath(joined, root.c_str(), L"x"), length <= 259) << length;
        EXPECT_EQ(std::wstring(joined.text), length <= 259 ? root + L"\\x" : L"") << length;
        PathBuffer copied;
        const std::wstring text(length, L't');
        EXPECT_EQ(copyText(copied.text, text.c_str()), length <= 259) << length;
    }
}

class Rules : public CoreTest {};

TEST_F(Rules, UsableRootsAreExistingDriveOrNetworkFolders) {
    fake::folder(L"C:\\adt");
    fake::file(L"C:\\file");
    fake::folder(L"\\\\server\\share\\adt");
    struct Row {
        const wchar_t* root;
        bool usable;
    };
    const Row rows[] = {
        {L"C:\\adt", true},
        {L"c:/adt/", true},
        {L"C:\\i\\..\\adt", true},
        {L"\\\\server\\share\\adt", true},
        {L"C:\\missing", false},
        {L"C:\\file", false},
        {L"", false},
        {L"adt", false},
        {L"\\adt", false},
        {L"C:adt", false},
        {L"\\\\", false},
        {L"\\\\\\x", false},
        {L"\\\\.\\C:\\adt", false},
        {L"\\\\?\\C:\\adt", false},
        {L"//./C:/adt", false},
        {L"\\??\\C:\\adt", false},
        {L"\\\\?", false},
    };
    for (const Row& row : rows) {
        const std::wstring root = row.root;
        EXPECT_EQ(isUsableRoot(row.root), row.usable) << std::string(root.begin(), root.end());
    }
    EXPECT_FALSE(isUsableRoot(nullptr));
}

TEST_F(Rules, SameFolderIsTheSameObjectOrTheSameFullPath) {
    fake::folder(L"C:\\i\\adt");
    fake::folder(L"C:\\other");
    fake::state().nodes[L"c:\\link"] = {true, platform::kAttributeReparsePoint, L"c:\\i\\adt"};
    struct Row {
        const wchar_t *a, *b;
        bool same;
    };
    const Row rows[] = {
        // Both exist: the file system's identity decides.
        {L"C:\\i\\adt", L"c:\\I\\ADT", true},
        {L"C:\\i\\.\\adt", L"C:\\i\\x\\..\\adt", true},
        {L"C:\\link", L"C:\\i\\adt", true},
        {L"C:\\other", L"C:\\i\\adt", false},
        // One is missing: full paths, case-insensitive, separators folded.
        {L"C:\\gone\\", L"c:/GONE", true},
        {L"C:\\gone\\\\x", L"C:\\gone\\x", true},
        {L"C:\\gone\\x", L"C:\\gone\\y", false},
        {L"C:\\gone", L"C:\\gone2", false},
        {L"C:\\", L"c:/", true},
    };
    for (const Row& row : rows) {
        const std::wstring text = std::wstring(row.a) + L" vs " + row.b;
        EXPECT_EQ(sameFolder(row.a, row.b), row.same) << std::string(text.begin(), text.end());
    }
}

TEST_F(Rules, RecordValuesThatCannotBeHeldWholeCountAsMissing) {
    const std::wstring fits(259, L'a');
    const std::wstring tooLong(260, L'b');
    struct Row {
        std::wstring stored;
        std::uint32_t type;
        bool raw;  // without its ending NUL
        std::wstring read;
    };
    const Row rows[] = {
        {L"C:\\adt", platform::kRegSz, false, L"C:\\adt"},
        {fits, platform::kRegSz, false, fits},
        {fits, platform::kRegSz, true, fits},
        {tooLong, platform::kRegSz, false, L""},
        {tooLong, platform::kRegSz, true, L""},
        {std::wstring(L"C:\\x\0garbage", 12), platform::kRegSz, true, L"C:\\x"},
        {L"\x0001", 4 /* REG_DWORD */, true, L""},
        {L"C:\\%USERNAME%\\adt", platform::kRegExpandSz, false,
         L"C:\\builder-with-a-long-name\\adt"},
        {L"C:\\%USERNAME%\\" + std::wstring(240, L'e'), platform::kRegExpandSz, false, L""},
        {L"C:\\%USERNAME%\\adt", platform::kRegSz, false, L"C:\\%USERNAME%\\adt"},
    };
    for (const Row& row : rows) {
        fake::setValue(kRecordKey, L"ADTRootFolder", row.stored, row.type, row.raw);
        ASSERT_TRUE(readIntegrationRecord());
        EXPECT_EQ(std::wstring(gRecord.adtRootFolder.text), row.read)
            << std::string(row.stored.begin(), row.stored.begin() + 20);
    }
}

TEST_F(Rules, KindAndViewsOfTheRecordAndAndroidStudio) {
    EXPECT_FALSE(readIntegrationRecord());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::StandaloneEclipseSdk);
    // The record lives in the 32-bit view, Android Studio's key in the 64-bit one.
    fake::setValue(
        L"64\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parvex for "
        L"Android",
        L"ADTRootFolder", L"C:\\wrong");
    fake::setValue(L"32\\SOFTWARE\\Android Studio", L"Path", L"C:\\wrong");
    fake::setValue(L"32\\SOFTWARE\\Android Studio", L"SdkPath", L"C:\\wrong");
    EXPECT_FALSE(readIntegrationRecord());
    EXPECT_FALSE(findAndroidStudio());

    fake::setValue(kRecordKey, L"ADTRootFolder", L"C:\\adt");
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::AdtBundle);
    fake::setValue(kRecordKey, L"AndroidStudioPath", L"C:\\studio");
    ASSERT_TRUE(readIntegrationRecord());
    EXPECT_EQ(recordedKind(gRecord), EnvironmentKind::AndroidStudio);
    EXPECT_FALSE(gRecord.recordedAdt);

    fake::setValue(kStudioKey, L"Path", L"C:\\studio");
    EXPECT_FALSE(findAndroidStudio());
    fake::setValue(kStudioKey, L"SdkPath", L"");
    EXPECT_TRUE(findAndroidStudio());
    EXPECT_FALSE(gAndroidStudio.installed);
    fake::setValue(kStudioKey, L"SdkPath", L"C:\\sdk");
    EXPECT_TRUE(findAndroidStudio());
    EXPECT_TRUE(gAndroidStudio.installed);
}

TEST_F(Rules, WriteKeepsOnlyTheSelectedEnvironment) {
    struct Row {
        Selection selection;
        Lines values;  // the five values in their order of writing
    };
    const Row rows[] = {
        {Selection::AndroidStudio, {L"C:\\studio", L"C:\\studio-sdk", L"", L"", L""}},
        {Selection::AdtBundle, {L"", L"", L"C:\\adt", L"", L""}},
        {Selection::Standalone, {L"", L"", L"", L"C:\\eclipse", L"C:\\sdk"}},
    };
    const wchar_t* names[] = {L"AndroidStudioPath", L"AndroidStudioSDKPath", L"ADTRootFolder",
                              L"EclipseRootFolder", L"SDKRootFolder"};
    for (const Row& row : rows) {
        fake::reset();
        PathBuffer buffers[5];
        const wchar_t* texts[] = {L"C:\\studio", L"C:\\studio-sdk", L"C:\\adt", L"C:\\eclipse",
                                  L"C:\\sdk"};
        for (int i = 0; i < 5; ++i) copyText(buffers[i].text, texts[i]);
        const RecordSource source{&buffers[0], &buffers[1], &buffers[2], &buffers[3], &buffers[4]};
        EXPECT_FALSE(writeIntegrationRecord(row.selection, source));  // no key: nothing written
        EXPECT_TRUE(fake::state().log.empty());
        fake::setValue(kRecordKey, L"Other", L"kept");
        ASSERT_TRUE(writeIntegrationRecord(row.selection, source));
        Lines written;
        for (int i = 0; i < 5; ++i) {
            written.push_back(fake::value(kRecordKey, names[i]));
            EXPECT_EQ(fake::valueBytes(kRecordKey, names[i]), sizeof(PathBuffer::text));
            // The working buffers of the kinds not selected stay empty.
            EXPECT_EQ(std::wstring(buffers[i].text), row.values[i]);
        }
        EXPECT_EQ(written, row.values);
        EXPECT_EQ(fake::logOf(L"set "),
                  (Lines{L"set AndroidStudioPath", L"set AndroidStudioSDKPath",
                         L"set ADTRootFolder", L"set EclipseRootFolder", L"set SDKRootFolder"}));
    }
}

}  // namespace
