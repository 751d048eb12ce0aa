#include "environment/entry_life.h"

#include <cwchar>

#include "environment/arrival_check.h"
#include "environment/folder_walk.h"

namespace {

// The set-aside names: the entry that was there, the mark that nothing was,
// and an entry on its way out for good.
const wchar_t kSetAside[] = L".quorvane-set-aside";
const wchar_t kWasAbsent[] = L".quorvane-was-absent";
const wchar_t kRemoving[] = L".quorvane-removing";

constexpr unsigned kCopyFolderFlags = platform::kFofMultiDestFiles | platform::kFofSilent |
                                      platform::kFofNoConfirmation | platform::kFofNoConfirmMkdir |
                                      platform::kFofNoErrorUi;
constexpr unsigned kDeleteFolderFlags = platform::kFofSilent | platform::kFofNoConfirmation |
                                        platform::kFofNoConfirmMkdir | platform::kFofNoErrorUi;
static_assert(kCopyFolderFlags == 0x0615, "copy flags for a folder");
static_assert((kCopyFolderFlags | platform::kFofFilesOnly) == 0x0695, "copy flags for a file");
static_assert(kDeleteFolderFlags == 0x0614, "delete flags for a folder");
static_assert((kDeleteFolderFlags | platform::kFofFilesOnly) == 0x0694, "delete flags for a file");

bool isFolder(std::uint32_t attributes) {
    return (attributes & platform::kAttributeDirectory) != 0;
}

// A path as a shell list of one entry: the path, then two NULs.
struct ShellPathList {
    wchar_t text[kPathChars + 1] = {};

    explicit ShellPathList(const PathBuffer& path) {
        std::wmemcpy(text, path.text, std::wcslen(path.text));
    }
};

// folder\name followed by suffix; false when it does not fit.
bool joinWithSuffix(PathBuffer& out, const wchar_t* folder, const wchar_t* name,
                    const wchar_t* suffix) {
    if (!joinPath(out, folder, name)) {
        return false;
    }
    const std::size_t length = std::wcslen(out.text);
    if (length + std::wcslen(suffix) >= kPathChars) {
        out.clear();
        return false;
    }
    std::wcscat(out.text, suffix);
    return true;
}

bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes) {
    return isFolder(attributes) ? platform::removeDirectory(path.text)
                                : platform::deleteFile(path.text);
}

// True when nothing at or below folder\entry leads elsewhere without
// showing as a link, and its tree could be read whole: only then can it be
// deleted without anything being followed. folderFinal is where folder is.
bool nothingLeadsElsewhereUnseen(const FinalPath& folderFinal, const wchar_t* folder,
                                 const platform::FindEntry& entry) {
    if (isLink(entry)) {
        return true;
    }
    PathBuffer path;
    if (!joinPath(path, folder, entry.name) || leadsElsewhere(folderFinal, folder, entry.name)) {
        report(L"Left alone: leads elsewhere without showing as a link", 0, path.text);
        return false;
    }
    if (!isFolder(entry.attributes)) {
        return true;
    }
    // It is where it seems: its final path is the folder's and its name.
    FinalPath pathFinal;
    if (std::swprintf(pathFinal.text, sizeof(pathFinal.text) / sizeof(pathFinal.text[0]),
                      L"%ls\\%ls", folderFinal.text, entry.name) < 0) {
        return false;
    }
    return visitEntries(path.text, [&](const platform::FindEntry& below) {
        return nothingLeadsElsewhereUnseen(pathFinal, path.text, below);
    });
}

// The entry at path can go without anything being followed, judged from
// where its folder really is.
bool safeToDelete(const PathBuffer& path, const platform::FindEntry& entry) {
    FinalPath parentFinal;
    PathBuffer parent = path;
    wchar_t* last = std::wcsrchr(parent.text, L'\\');
    if (last == nullptr) {
        return false;
    }
    *last = L'\0';
    return finalPathOf(parent.text, parentFinal) &&
           nothingLeadsElsewhereUnseen(parentFinal, parent.text, entry);
}

// Makes the tree at path ready for the shell's delete, in one walk: every
// link at or below it is removed as the link itself and, with readOnlyToo,
// read-only files and folders lose the attribute (the shell's delete under
// Wine refuses them, where Windows' deletes them).
bool readyForDelete(const PathBuffer& path, const platform::FindEntry& entry, bool readOnlyToo) {
    if (isLink(entry)) {
        if (!removeLinkItself(path, entry.attributes)) {
            report(L"A link could not be removed as the link itself, attributes 0x%x",
                   entry.attributes, path.text);
            return false;
        }
        return true;
    }
    if (readOnlyToo && (entry.attributes & platform::kAttributeReadOnly) != 0 &&
        !platform::setAttributes(path.text, entry.attributes & ~platform::kAttributeReadOnly)) {
        report(L"Read-only attribute could not be cleared", 0, path.text);
        return false;
    }
    if (!isFolder(entry.attributes)) {
        return true;
    }
    return visitEntries(path.text, [&](const platform::FindEntry& below) {
        PathBuffer belowPath;
        return joinPath(belowPath, path.text, below.name) &&
               readyForDelete(belowPath, below, readOnlyToo);
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

// Deletes the entry at path for good, links as the links themselves. The
// caller has made sure that nothing below leads elsewhere unseen.
bool deleteForGood(const PathBuffer& path, platform::Window owner) {
    platform::FindEntry entry{};
    if (!lookUpEntry(path.text, entry)) {
        return true;
    }
    return readyForDelete(path, entry, true) && (isLink(entry) || shellDelete(path, entry, owner));
}

// Renames folder\name to its removing name and deletes it for good there,
// so that a killed delete is finished by the next run, never restored half.
bool renameAndDelete(const wchar_t* folder, const wchar_t* name, platform::Window owner) {
    PathBuffer from;
    PathBuffer removing;
    if (!joinPath(from, folder, name) || !joinWithSuffix(removing, folder, name, kRemoving)) {
        return false;
    }
    if (!platform::moveEntry(from.text, removing.text)) {
        report(L"Could not be renamed for removal (held open, or access denied)", 0, from.text);
        return false;
    }
    return deleteForGood(removing, owner);
}

// The mark that nothing of the entry's name was there goes: the entry is
// committed or restored.
void removeAbsentMark(const ReplacedEntry& replaced) {
    PathBuffer mark;
    if (joinWithSuffix(mark, replaced.target.text, replaced.name, kWasAbsent)) {
        platform::removeDirectory(mark.text);
    }
}

}  // namespace

bool isLink(const platform::FindEntry& entry) {
    return (entry.attributes & platform::kAttributeReparsePoint) != 0 &&
           (entry.reparseTag & platform::kReparseTagNameSurrogate) != 0;
}

bool recoverEntry(const wchar_t* target, const wchar_t* name, platform::Window owner) {
    PathBuffer path;
    platform::FindEntry found{};
    // A removal that was killed is finished first.
    if (joinWithSuffix(path, target, name, kRemoving) && lookUpEntry(path.text, found) &&
        (!safeToDelete(path, found) || !deleteForGood(path, owner))) {
        return false;
    }
    ReplacedEntry replaced;
    copyText(replaced.target.text, target);
    copyText(replaced.name, name);
    constexpr std::size_t kSuffixLength = sizeof(kSetAside) / sizeof(wchar_t) - 1;
    if (joinWithSuffix(path, target, name, kSetAside) && lookUpEntry(path.text, found)) {
        // The set-aside name keeps the entry's own spelling.
        if (std::wcslen(found.name) <= kSuffixLength) {
            return false;
        }
        const std::size_t length = std::wcslen(found.name) - kSuffixLength;
        std::wmemcpy(replaced.previous, found.name, length);
        replaced.previous[length] = L'\0';
    } else if (!joinWithSuffix(path, target, name, kWasAbsent) || !lookUpEntry(path.text, found)) {
        return true;  // nothing of a killed run here
    }
    report(L"Recovering from a run that did not end", 0, path.text);
    restoreEntry(replaced, owner);
    return !lookUpEntry(path.text, found);
}

bool replaceEntry(const FinalPath& target, const wchar_t* payload, const platform::FindEntry& entry,
                  platform::Window owner, ReplacedEntry& replaced, bool& touched) {
    touched = false;
    PathBuffer source;
    PathBuffer destination;
    PathBuffer aside;
    if (!joinPath(source, payload, entry.name) || !joinPath(destination, target.text, entry.name) ||
        !copyText(replaced.target.text, target.text) || !copyText(replaced.name, entry.name)) {
        report(L"Path too long to copy", 0, entry.name);
        return false;
    }
    platform::FindEntry existing{};
    if (lookUpEntry(destination.text, existing)) {
        // What was there is kept whole until the run commits: renamed, never
        // copied, never written into. It must be removable safely by then.
        PathBuffer from;
        if (!nothingLeadsElsewhereUnseen(target, target.text, existing) ||
            !joinPath(from, target.text, existing.name) ||
            !joinWithSuffix(aside, target.text, existing.name, kSetAside)) {
            return false;
        }
        if (!platform::moveEntry(from.text, aside.text)) {
            report(L"Could not be set aside (held open, or access denied)", 0, from.text);
            return false;
        }
        copyText(replaced.previous, existing.name);
    } else if (!joinWithSuffix(aside, target.text, entry.name, kWasAbsent) ||
               !platform::createDirectory(aside.text)) {
        report(L"Could not mark a new entry", 0, destination.text);
        return false;
    }
    touched = true;
    // Nothing is at the destination now: nothing to merge into or follow.
    const unsigned flags =
        isFolder(entry.attributes) ? kCopyFolderFlags : kCopyFolderFlags | platform::kFofFilesOnly;
    bool aborted = false;
    const int result =
        platform::shellFileOperation(owner, platform::kFoCopy, ShellPathList(source).text,
                                     ShellPathList(destination).text, flags, &aborted);
    if (result != 0 || aborted) {
        report(L"Error in file operation 0x%x", static_cast<unsigned>(result), source.text);
        return false;
    }
    return arrivedWhole(source, destination, entry);
}

bool unlinkSetAside(const ReplacedEntry& replaced) {
    PathBuffer aside;
    platform::FindEntry entry{};
    if (replaced.previous[0] == L'\0') {
        return true;
    }
    return joinWithSuffix(aside, replaced.target.text, replaced.previous, kSetAside) &&
           lookUpEntry(aside.text, entry) && readyForDelete(aside, entry, false);
}

void commitEntry(const ReplacedEntry& replaced, platform::Window owner) {
    PathBuffer aside;
    if (replaced.previous[0] == L'\0') {
        removeAbsentMark(replaced);
        return;
    }
    PathBuffer removing;
    platform::FindEntry entry{};
    if (!joinWithSuffix(aside, replaced.target.text, replaced.previous, kSetAside) ||
        !joinWithSuffix(removing, replaced.target.text, replaced.previous, kRemoving) ||
        !lookUpEntry(aside.text, entry)) {
        return;  // a set-aside link went as the link itself
    }
    if (!platform::moveEntry(aside.text, removing.text)) {
        report(L"Set-aside entry could not be renamed for removal", 0, aside.text);
        return;
    }
    deleteForGood(removing, owner);
}

void restoreEntry(const ReplacedEntry& replaced, platform::Window owner) {
    PathBuffer fresh;
    PathBuffer aside;
    platform::FindEntry entry{};
    if (!joinPath(fresh, replaced.target.text, replaced.name)) {
        return;
    }
    // What this run copied goes, by the same rules as any removal.
    if (lookUpEntry(fresh.text, entry) &&
        (!safeToDelete(fresh, entry) ||
         !renameAndDelete(replaced.target.text, entry.name, owner))) {
        report(L"Not restored: the new entry could not be removed", 0, fresh.text);
        return;
    }
    if (replaced.previous[0] == L'\0') {
        removeAbsentMark(replaced);
        return;
    }
    PathBuffer back;
    if (!joinWithSuffix(aside, replaced.target.text, replaced.previous, kSetAside) ||
        !joinPath(back, replaced.target.text, replaced.previous) ||
        !platform::moveEntry(aside.text, back.text)) {
        report(L"Set-aside entry could not be put back", 0, aside.text);
    }
}

void removeEntry(const FinalPath& target, const wchar_t* name, platform::Window owner) {
    PathBuffer path;
    platform::FindEntry existing{};
    if (!joinPath(path, target.text, name) || !lookUpEntry(path.text, existing)) {
        return;  // not in the target: nothing to remove
    }
    if (isLink(existing)) {
        // A link goes as the link itself; what it leads to is never touched.
        if (!removeLinkItself(path, existing.attributes)) {
            report(L"Link left as it is, attributes 0x%x", existing.attributes, path.text);
        }
        return;
    }
    if (!nothingLeadsElsewhereUnseen(target, target.text, existing)) {
        return;
    }
    PathBuffer removing;
    platform::FindEntry renamed{};
    if (!joinPath(path, target.text, existing.name) ||
        !joinWithSuffix(removing, target.text, existing.name, kRemoving)) {
        return;
    }
    if (!platform::moveEntry(path.text, removing.text)) {
        report(L"Left alone: could not be renamed for removal (held open?)", 0, path.text);
        return;
    }
    // A link below that cannot be removed so keeps the entry, back in its
    // place: the shell's delete would follow it.
    if (!lookUpEntry(removing.text, renamed) || !readyForDelete(removing, renamed, true)) {
        platform::moveEntry(removing.text, path.text);
        return;
    }
    shellDelete(removing, renamed, owner);
}
