// Pure rules: switch scanning, usable roots, folder identity, the record.
#include <set>

#include "driver/command_line.h"
#include "environment/folder_rules.h"
#include "environment/root_validation.h"
#include "tests/unit/fake_platform.h"

namespace {

std::set<std::string> switchesOf(const RunOptions& options) {
    std::set<std::string> given;
    if (options.install) given.insert("install");
    if (options.uninstall) given.insert("uninstall");
    if (options.silent) given.insert("silence");
    return given;
}

TEST(SwitchScan, EachWordIsAPrefixOfItsOwnLength) {
    struct Row {
        std::set<std::string> switches;     // the switches recognised
        std::vector<const wchar_t*> tails;  // in each of these tails
    };
    // One character short is no switch; what follows a whole word is not looked at. Any "/" or "-" starts one (the
    // step table runs tails of several switches).
    // clang-format off
    const Row rows[] = {
        {{}, {L"", L"install uninstall", L"-", L"-silenc", L"-instal", L"-uninstal", L"-silent"}},
        {{"silence"}, {L"-silence", L"-SILENCEx"}},
        {{"install"}, {L"-install", L"/INSTALL", L"-installx", L"--install"}},
        {{"uninstall"}, {L"-Uninstall", L"-uninstallx", L"\"C:\\my-files\" -uninstall"}}};
    // clang-format on
    for (const Row& row : rows)
        for (const wchar_t* tail : row.tails) EXPECT_EQ(switchesOf(scanSwitches(tail)), row.switches) << tail;
}

class Rules : public CoreTest {};

TEST_F(Rules, PickedRootsAreValidByTheirMarkers) {
    struct Row {
        std::vector<std::wstring> entries;  // below C:\r; a trailing "\" makes a folder
        bool adt, eclipse, sdk;             // valid as which root
    };
    // clang-format off
    const Row rows[] = {
        {{L"eclipse\\eclipse.exe", L"eclipse\\plugins\\", L"sdk\\platform-tools\\adb.exe"}, true, false, false},
        {{L"eclipse\\eclipse.exe", L"eclipse\\plugins", L"sdk\\platform-tools\\adb.exe"}, false, false, false},
        {{L"eclipse\\eclipse.exe", L"eclipse\\plugins\\"}, false, false, false},
        {{L"eclipse.exe", L"plugins\\"}, false, true, false}, {{L"eclipse.exe", L"plugins"}, false, false, false},
        {{L"platform-tools\\adb.exe\\"}, false, false, true}};
    // clang-format on
    for (const Row& row : rows) {
        SetUp();
        for (const auto& entry : row.entries) fake::add(L"C:\\r\\" + entry, entry.back() == L'\\');
        PathBuffer root;
        copyText(root.text, L"C:\\r");
        SCOPED_TRACE(testing::PrintToString(row.entries));
        EXPECT_EQ(validateAdtRoot(root), row.adt);
        EXPECT_EQ(validateEclipseRoot(root), row.eclipse);
        EXPECT_EQ(validateSdkRoot(root), row.sdk);
    }
}

TEST_F(Rules, UsableRootsAndSameFoldersBySpelling) {
    fake::add(L"C:\\file", false);
    fake::add(L"\\\\server\\share\\adt");
    const std::vector<const wchar_t*> usable = {L"C:\\adt", L"c:/adt/", L"\\\\server\\share\\adt"};
    const std::vector<const wchar_t*> notUsable = {
        L"C:\\missing", L"C:\\file", L"", L"adt", L"\\adt", L"C:adt", L"\\\\", L"\\\\\\x", L"\\\\?",
        // Device and namespace paths, though they reach C:\adt.
        L"\\\\.\\C:\\adt", L"\\\\?\\C:\\adt", L"//./C:/adt", L"\\??\\C:\\adt", nullptr};
    for (const wchar_t* root : usable) EXPECT_TRUE(isUsableRoot(root)) << root;
    for (const wchar_t* root : notUsable) EXPECT_FALSE(isUsableRoot(root)) << (root ? root : L"null");
    // The same folder: when both exist, the file system's identity decides; else the full paths, case-insensitive,
    // separators folded.
    fake::state().nodes[L"c:\\link"] = {true, platform::kAttributeReparsePoint, L"c:\\adt"};
    // clang-format off
    const std::vector<Lines> same = {{L"C:\\adt", L"c:\\ADT"}, {L"C:\\link", L"C:\\adt"}, {L"C:\\gone\\", L"c:/GONE"},
                                     {L"C:\\gone\\\\x", L"C:\\gone\\x"}, {L"C:\\", L"c:/"}};
    const std::vector<Lines> different = {{L"C:\\sdk", L"C:\\adt"}, {L"C:\\gone\\x", L"C:\\gone\\y"}};
    // clang-format on
    for (const Lines& pair : same) EXPECT_TRUE(sameFolder(pair[0].c_str(), pair[1].c_str())) << pair[0];
    for (const Lines& pair : different) EXPECT_FALSE(sameFolder(pair[0].c_str(), pair[1].c_str())) << pair[0];
}

TEST_F(Rules, RecordValuesThatCannotBeHeldWholeCountAsMissing) {
    // %USERNAME% expands to 24 characters more.
    const std::wstring fits(259, L'a'), tooLong(260, L'b'), user = L"C:\\%USERNAME%\\", tail(231, L'e');
    struct Row {
        std::wstring stored;
        std::uint32_t type;
        bool withoutNul;  // stored without its ending NUL
        std::wstring read;
    };
    // clang-format off
    const Row rows[] = {
        {fits, platform::kRegSz, false, fits}, {fits, platform::kRegSz, true, fits},
        {tooLong, platform::kRegSz, false, L""}, {tooLong, platform::kRegSz, true, L""},
        {std::wstring(L"C:\\x\0garbage", 12), platform::kRegSz, true, L"C:\\x"},
        {L"\x0001", 4 /* REG_DWORD */, true, L""},
        {user + tail, platform::kRegExpandSz, false, L"C:\\builder-with-a-long-name\\" + tail},
        {user + tail + L"e", platform::kRegExpandSz, false, L""},
        {user + L"adt", platform::kRegSz, false, user + L"adt"}};
    // clang-format on
    for (const Row& row : rows) {
        fake::setValue(kRecordKey, L"ADTRootFolder", row.stored, row.type, row.withoutNul);
        ASSERT_TRUE(readIntegrationRecord());
        EXPECT_EQ(std::wstring(gRecord.adtRootFolder.text), row.read) << row.stored.substr(0, 20) << row.stored.size();
    }
}

}  // namespace
