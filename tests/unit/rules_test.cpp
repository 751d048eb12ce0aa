// Pure rules: switch scanning, path bounds, usable roots, folder identity, the record.
#include "driver/command_line.h"
#include "environment/folder_rules.h"
#include "environment/root_validation.h"
#include "tests/unit/fake_platform.h"

namespace {

TEST(SwitchScan, TailIsScannedAsOneText) {
    // Flags (i install, u uninstall, s silent), then the tails that give them.
    // clang-format off
    const std::pair<const char*, std::vector<const wchar_t*>> rows[] = {
        {"", {L"", L"install uninstall", L"-uninstal", L"-"}}, {"s", {L"-silence", L"-silence "}},
        {"i", {L"-silent -install", L"/INSTALL", L"-installer", L"--install"}},
        {"u", {L"-Uninstall", L"\"C:\\my-files\" -uninstall"}}, {"is", {L"/silence /install", L"-INSTALL-SILENCE"}},
        {"ius", {L"-install -uninstall -silence"}}};
    // clang-format on
    for (const auto& [flags, tails] : rows)
        for (const wchar_t* tail : tails) {
            const RunOptions o = scanSwitches(tail);
            EXPECT_EQ(std::string(o.install ? "i" : "") + (o.uninstall ? "u" : "") + (o.silent ? "s" : ""), flags)
                << tail;
            EXPECT_EQ(o.actionGiven, o.install || o.uninstall);
        }
}

TEST(PathBounds, PathsFitAt259AndAreNeverCutShort) {
    for (std::size_t length : {258u, 259u, 260u, 300u}) {
        const std::wstring root = L"C:\\" + std::wstring(length - 5, L'r');
        PathBuffer joined, copied;
        EXPECT_EQ(joinPath(joined, root.c_str(), L"x"), length <= 259) << length;
        EXPECT_EQ(std::wstring(joined.text), length <= 259 ? root + L"\\x" : L"") << length;
        EXPECT_EQ(copyText(copied.text, std::wstring(length, L't').c_str()), length <= 259) << length;
    }
}

class Rules : public CoreTest {};

TEST_F(Rules, UsableRootsAndPickedRoots) {
    fake::add(L"C:\\adt"), fake::add(L"C:\\file", false), fake::add(L"\\\\server\\share\\adt");
    // clang-format off
    const std::pair<bool, std::vector<const wchar_t*>> rows[] = {
        {true, {L"C:\\adt", L"c:/adt/", L"\\\\server\\share\\adt"}},
        {false, {L"C:\\missing", L"C:\\file", L"", L"adt", L"\\adt", L"C:adt", L"\\\\", L"\\\\\\x", L"\\\\?"}},
        // Device and namespace paths, though they reach C:\adt.
        {false, {L"\\\\.\\C:\\adt", L"\\\\?\\C:\\adt", L"//./C:/adt", L"\\??\\C:\\adt"}}};
    // clang-format on
    for (const auto& [usable, roots] : rows)
        for (const wchar_t* root : roots) EXPECT_EQ(isUsableRoot(root), usable) << root;
    EXPECT_FALSE(isUsableRoot(nullptr));
    // A picked root is valid by its markers: files, and folders ending in "\" below C:\r; then valid
    // as ADT, Eclipse and SDK root.
    // clang-format off
    const std::pair<std::vector<std::wstring>, const char*> picked[] = {
        {{L"eclipse\\eclipse.exe", L"eclipse\\plugins\\", L"sdk\\platform-tools\\adb.exe"}, "100"},
        {{L"eclipse\\eclipse.exe", L"eclipse\\plugins", L"sdk\\platform-tools\\adb.exe"}, "000"},
        {{L"eclipse.exe", L"plugins\\"}, "010"}, {{L"eclipse.exe", L"plugins"}, "000"},
        {{L"platform-tools\\adb.exe\\"}, "001"}};
    // clang-format on
    for (const auto& [entries, valid] : picked) {
        SetUp();
        for (const auto& e : entries) fake::add(L"C:\\r\\" + e, e.back() == L'\\');
        PathBuffer r;
        copyText(r.text, L"C:\\r");
        EXPECT_EQ(std::to_string(validateAdtRoot(r)) + std::to_string(validateEclipseRoot(r)) +
                      std::to_string(validateSdkRoot(r)),
                  valid)
            << entries[0];
    }
}

TEST_F(Rules, SameFolderIsTheSameObjectElseTheSameFullPath) {
    fake::add(L"C:\\i\\adt"), fake::add(L"C:\\other");
    fake::state().nodes[L"c:\\link"] = {true, platform::kAttributeReparsePoint, L"c:\\i\\adt"};
    // clang-format off
    const std::tuple<const wchar_t*, const wchar_t*, bool> rows[] = {
        // Both exist: the file system's identity decides.
        {L"C:\\i\\adt", L"c:\\I\\ADT", true}, {L"C:\\link", L"C:\\i\\adt", true}, {L"C:\\other", L"C:\\i\\adt", false},
        // One is missing: full paths, case-insensitive, separators folded.
        {L"C:\\gone\\", L"c:/GONE", true}, {L"C:\\gone\\\\x", L"C:\\gone\\x", true},
        {L"C:\\gone\\x", L"C:\\gone\\y", false}, {L"C:\\", L"c:/", true}};
    // clang-format on
    for (const auto& [a, b, same] : rows) EXPECT_EQ(sameFolder(a, b), same) << a << " vs " << b;
}

TEST_F(Rules, RecordValuesThatCannotBeHeldWholeCountAsMissing) {
    const std::wstring fits(259, L'a'), tooLong(260, L'b'), user = L"C:\\%USERNAME%\\", e231(231, L'e');
    const auto sz = platform::kRegSz, expand = platform::kRegExpandSz;
    // Stored text, type, stored without its NUL, text read. %USERNAME% expands to 24 characters.
    // clang-format off
    const std::tuple<std::wstring, std::uint32_t, bool, std::wstring> rows[] = {
        {fits, sz, false, fits}, {fits, sz, true, fits}, {tooLong, sz, false, L""}, {tooLong, sz, true, L""},
        {std::wstring(L"C:\\x\0garbage", 12), sz, true, L"C:\\x"}, {L"\x0001", 4 /* REG_DWORD */, true, L""},
        {user + e231, expand, false, L"C:\\builder-with-a-long-name\\" + e231},
        {user + e231 + L"e", expand, false, L""},
        {user + L"adt", sz, false, user + L"adt"}};
    // clang-format on
    for (const auto& [text, type, raw, read] : rows) {
        fake::setValue(kRecordKey, L"ADTRootFolder", text, type, raw);
        ASSERT_TRUE(readIntegrationRecord());
        EXPECT_EQ(std::wstring(gRecord.adtRootFolder.text), read) << text.substr(0, 20) << text.size();
    }
}

// The views, and the kinds, are seen in the Wine and step tests.
TEST_F(Rules, AndroidStudioIsInstalledOnlyWithBothValuesNonEmpty) {
    EXPECT_FALSE(findAndroidStudio());
    fake::setValue(kStudioKey, L"Path", L"C:\\studio");
    EXPECT_FALSE(findAndroidStudio());
    fake::setValue(kStudioKey, L"SdkPath", L"");
    EXPECT_TRUE(findAndroidStudio() && !gAndroidStudio.installed);
    fake::setValue(kStudioKey, L"SdkPath", L"C:\\sdk");
    EXPECT_TRUE(findAndroidStudio() && gAndroidStudio.installed);
}

TEST_F(Rules, WriteKeepsOnlyTheSelectedEnvironment) {
    const wchar_t* names[] = {L"AndroidStudioPath", L"AndroidStudioSDKPath", L"ADTRootFolder", L"EclipseRootFolder",
                              L"SDKRootFolder"};
    // The values written, in their order: "x" the buffer's text ("C:\0".."C:\4"), "-" emptied.
    for (const auto& [selection, kept] : {std::pair<Selection, const char*>{Selection::AndroidStudio, "xx---"},
                                          {Selection::AdtBundle, "--x--"},
                                          {Selection::Standalone, "---xx"}}) {
        SetUp();
        PathBuffer b[5];
        for (int i = 0; i < 5; ++i) copyText(b[i].text, (L"C:\\" + std::to_wstring(i)).c_str());
        const RecordSource source{&b[0], &b[1], &b[2], &b[3], &b[4]};
        EXPECT_FALSE(writeIntegrationRecord(selection, source));  // no key: nothing written
        fake::setValue(kRecordKey, L"Other", L"kept");
        ASSERT_TRUE(writeIntegrationRecord(selection, source));
        for (int i = 0; i < 5; ++i) {
            const std::wstring text = kept[i] == 'x' ? L"C:\\" + std::to_wstring(i) : L"",
                               data = fake::stored(kRecordKey, names[i]);
            EXPECT_TRUE(data.c_str() == text && b[i].text == text) << names[i];  // the dialog's buffers too
            EXPECT_EQ(data.size(), kPathChars);                                  // the whole buffer
            EXPECT_EQ(fake::state().log.at(i), std::wstring(L"set ") + names[i]);
        }
    }
}

}  // namespace
