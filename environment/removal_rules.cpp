#include "environment/removal_rules.h"

#include <cwchar>

#include "environment/folder_walk.h"

namespace {

constexpr unsigned kDeleteFolderFlags = platform::kFofSilent | platform::kFofNoConfirmation |
                                        platform::kFofNoConfirmMkdir | platform::kFofNoErrorUi;
static_assert(kDeleteFolderFlags == 0x0614, "delete flags for a folder");
static_assert((kDeleteFolderFlags | platform::kFofFilesOnly) == 0x0694, "delete flags for a file");

// Makes the tree at path ready for the shell's delete, in one walk: every
// link at or below it is removed as the link itself and read-only files and
// folders lose the attribute (the shell's delete under Wine refuses them,
// where Windows' deletes them).
bool readyForDelete(const PathBuffer& path, const platform::FindEntry& entry) {
    if (isLink(entry)) {
        if (!removeLinkItself(path, entry.attributes)) {
            report(L"A link could not be removed as the link itself, error %u",
                   platform::lastError(), path.text);
            return false;
        }
        return true;
    }
    if ((entry.attributes & platform::kAttributeReadOnly) != 0 &&
        !platform::setAttributes(path.text, entry.attributes & ~platform::kAttributeReadOnly)) {
        report(L"Read-only attribute could not be cleared, error %u", platform::lastError(),
               path.text);
        return false;
    }
    if (!isFolder(entry.attributes)) {
        return true;
    }
    return visitEntries(path.text, [&](const platform::FindEntry& below) {
        PathBuffer belowPath;
        return joinPath(belowPath, path.text, below.name) && readyForDelete(belowPath, below);
    });
}

// The shell's delete of a tree made ready for it; true when it is gone.
bool shellDelete(const PathBuffer& path, const platform::FindEntry& entry, platform::Window owner) {
    const unsigned flags = isFolder(entry.attributes)
                               ? kDeleteFolderFlags
                               : kDeleteFolderFlags | platform::kFofFilesOnly;
    bool aborted = false;
    platform::FindEntry left{};
    const int result = platform::shellFileOperation(
        owner, platform::kFoDelete, ShellPathList(path).text, nullptr, flags, &aborted);
    if (result != 0 || lookUpEntry(path.text, left)) {
        report(L"Error in SHFileOperation [0x%x]", static_cast<unsigned>(result), path.text);
        return false;
    }
    return true;
}

}  // namespace

bool isLink(const platform::FindEntry& entry) {
    return (entry.attributes & platform::kAttributeReparsePoint) != 0 &&
           (entry.reparseTag & platform::kReparseTagNameSurrogate) != 0;
}

bool surveyEntry(const FinalPath* folderFinal, const wchar_t* folder,
                 const platform::FindEntry& entry, std::size_t& deepest) {
    PathBuffer path;
    deepest = std::wcslen(entry.name);
    if (!joinPath(path, folder, entry.name)) {
        report(L"Path too long to be handled safely", 0, entry.name);
        return false;
    }
    if (isLink(entry)) {
        return true;  // it goes as the link itself: nothing below it counts
    }
    if (folderFinal != nullptr && leadsElsewhere(*folderFinal, folder, entry.name)) {
        report(L"Left alone: leads elsewhere without showing as a link", 0, path.text);
        return false;
    }
    if (!isFolder(entry.attributes)) {
        return true;
    }
    // It is where it seems: its final path is the folder's and its name.
    FinalPath pathFinal;
    if (folderFinal != nullptr &&
        std::swprintf(pathFinal.text, sizeof(pathFinal.text) / sizeof(pathFinal.text[0]),
                      L"%ls\\%ls", folderFinal->text, entry.name) < 0) {
        return false;
    }
    const std::size_t own = deepest;
    return visitEntries(path.text, [&](const platform::FindEntry& below) {
        std::size_t depth = 0;
        if (!surveyEntry(folderFinal != nullptr ? &pathFinal : nullptr, path.text, below, depth)) {
            return false;
        }
        if (own + 1 + depth > deepest) {
            deepest = own + 1 + depth;
        }
        return true;
    });
}

bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes) {
    return isFolder(attributes) ? platform::removeDirectory(path.text)
                                : platform::deleteFile(path.text);
}

bool deleteForGood(const PathBuffer& path, platform::Window owner) {
    platform::FindEntry entry{};
    if (!lookUpEntry(path.text, entry)) {
        return true;
    }
    return readyForDelete(path, entry) && (isLink(entry) || shellDelete(path, entry, owner));
}
