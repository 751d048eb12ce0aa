#include "environment/folder_rules.h"

#include <cwchar>

#include "platform/platform.h"

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isDrivePath(const wchar_t* path) {
    const bool letter =
        (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return letter && path[1] == L':' && isSeparator(path[2]);
}

// "\\server\..." with a server name that is not "." or "?": those two
// reach devices and the object namespace, not a share.
bool isNetworkPath(const wchar_t* path) {
    if (!isSeparator(path[0]) || !isSeparator(path[1])) {
        return false;
    }
    const wchar_t* server = path + 2;
    std::size_t length = 0;
    while (server[length] != L'\0' && !isSeparator(server[length])) {
        ++length;
    }
    const bool deviceName = length == 1 && (server[0] == L'.' || server[0] == L'?');
    return length > 0 && !deviceName;
}

bool isUsableSpelling(const wchar_t* path) {
    return isDrivePath(path) || isNetworkPath(path);
}

// The full path with doubled and trailing separators dropped, so that two
// spellings of one folder compare equal.
bool comparablePath(const wchar_t* path, PathBuffer& out) {
    PathBuffer full;
    if (!platform::fullPath(path, full.text, kPathChars)) {
        return false;
    }
    std::size_t used = 0;
    for (std::size_t i = 0; full.text[i] != L'\0'; ++i) {
        const wchar_t c = isSeparator(full.text[i]) ? L'\\' : full.text[i];
        // The two leading separators of a network path stay.
        if (c == L'\\' && used > 1 && out.text[used - 1] == L'\\') {
            continue;
        }
        out.text[used++] = c;
    }
    // "C:\" keeps its separator; any other trailing one goes.
    if (used > 3 && out.text[used - 1] == L'\\') {
        --used;
    }
    out.text[used] = L'\0';
    return true;
}

}  // namespace

bool isUsableRoot(const wchar_t* root) {
    if (root == nullptr || !isUsableSpelling(root)) {
        return false;
    }
    // The full path too: a device name can hide in a drive path.
    PathBuffer full;
    if (!platform::fullPath(root, full.text, kPathChars) || !isUsableSpelling(full.text)) {
        return false;
    }
    std::uint32_t attributes = 0;
    return platform::entryAttributes(root, &attributes) &&
           (attributes & platform::kAttributeDirectory) != 0;
}

bool sameFolder(const wchar_t* a, const wchar_t* b) {
    platform::FileIdentity first{};
    platform::FileIdentity second{};
    if (platform::fileIdentity(a, &first) && platform::fileIdentity(b, &second)) {
        return first.volume == second.volume && first.indexHigh == second.indexHigh &&
               first.indexLow == second.indexLow;
    }
    return samePathText(a, b);
}

bool samePathText(const wchar_t* a, const wchar_t* b) {
    PathBuffer fullA;
    PathBuffer fullB;
    if (!comparablePath(a, fullA) || !comparablePath(b, fullB)) {
        return true;
    }
    return platform::equalIgnoringCase(fullA.text, fullB.text);
}

bool finalPathOf(const wchar_t* path, FinalPath& out) {
    return platform::finalPath(path, out.text, sizeof(out.text) / sizeof(out.text[0])) &&
           withoutFinalPrefix(out);
}

bool withoutFinalPrefix(FinalPath& out) {
    constexpr std::size_t kChars = sizeof(out.text) / sizeof(out.text[0]);
    // "\\?\C:\x" -> "C:\x", "\\?\UNC\server\x" -> "\\server\x".
    std::size_t skip = 0;
    if (std::wcsncmp(out.text, L"\\\\?\\UNC\\", 8) == 0) {
        skip = 6;
        out.text[6] = L'\\';
    } else if (std::wcsncmp(out.text, L"\\\\?\\", 4) == 0) {
        skip = 4;
    }
    std::wmemmove(out.text, out.text + skip, kChars - skip);
    return true;
}

bool holdFinal(platform::HeldFolder& held, const wchar_t* path, FinalPath& out) {
    return held.hold(path, out.text, sizeof(out.text) / sizeof(out.text[0])) &&
           withoutFinalPrefix(out);
}

bool holdWhereItSeems(platform::HeldFolder& held, const wchar_t* path) {
    FinalPath where;
    return holdFinal(held, path, where) && platform::equalIgnoringCase(where.text, path);
}

bool leadsElsewhere(const FinalPath& folderFinal, const wchar_t* folder, const wchar_t* name) {
    PathBuffer entry;
    FinalPath entryFinal;
    if (!joinPath(entry, folder, name) || !finalPathOf(entry.text, entryFinal)) {
        return true;
    }
    // Where the entry would be if it were what it seems: the folder's own
    // final path, one separator, the name.
    FinalPath expected;
    const std::size_t length = std::wcslen(folderFinal.text);
    const wchar_t* separator = (length > 0 && folderFinal.text[length - 1] == L'\\') ? L"" : L"\\";
    if (std::swprintf(expected.text, sizeof(expected.text) / sizeof(expected.text[0]), L"%ls%ls%ls",
                      folderFinal.text, separator, name) < 0) {
        return true;
    }
    return !platform::equalIgnoringCase(expected.text, entryFinal.text);
}
