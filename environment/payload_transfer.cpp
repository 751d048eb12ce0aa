#include "environment/payload_transfer.h"

#include <cwchar>

#include "environment/arrival_check.h"
#include "environment/folder_rules.h"
#include "environment/folder_walk.h"
#include "environment/link_guard.h"
#include "environment/path_buffer.h"

namespace {

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

// Copies one entry; true when it arrived whole. targetFinal is where the
// target really is, null when that cannot be told. The shell's result alone
// is not enough: it reports success for some copies that never arrived, or
// arrived in part.
bool copyEntry(const wchar_t* target, const FinalPath* targetFinal, const wchar_t* payload,
               const platform::FindEntry& entry, platform::Window owner, PlacedEntries* placed) {
    PathBuffer source;
    PathBuffer destination;
    if (!joinPath(source, payload, entry.name) || !joinPath(destination, target, entry.name)) {
        return false;
    }
    // A copy opens an existing destination as CreateFileW does, following
    // links: what is there goes first, or the entry fails untouched.
    std::uint32_t existing = 0;
    if (platform::entryAttributes(destination.text, &existing)) {
        if (!readyForCopy(targetFinal, target, entry.name, destination, existing)) {
            report(L"Left alone: a link in the way could not be removed, attributes 0x%x", existing,
                   destination.text);
            return false;
        }
    } else if (placed != nullptr) {
        placed->push_back(entry);
    }
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

// targetFinal is where the target really is; null when that cannot be told.
void removeEntry(const wchar_t* target, const FinalPath* targetFinal,
                 const platform::FindEntry& entry, platform::Window owner,
                 bool& everyEntryReached) {
    PathBuffer path;
    if (!joinPath(path, target, entry.name)) {
        // Never delete a path cut short: it could name another entry.
        everyEntryReached = false;
        return;
    }
    std::uint32_t attributes = 0;
    if (!platform::entryAttributes(path.text, &attributes)) {
        return;  // not in the target: nothing to remove
    }
    if ((attributes & platform::kAttributeReparsePoint) != 0) {
        // A link goes as the link itself; its target is never touched.
        if (!removeLinkItself(path, attributes)) {
            report(L"Link left as it is, attributes 0x%x", attributes, path.text);
        }
        return;
    }
    // A link that does not show as one cannot be removed as the link
    // itself: deleting it would delete what it leads to. Nor may the shell
    // delete a folder below which such a link is left: it would follow it.
    if (targetFinal == nullptr || leadsElsewhere(*targetFinal, target, entry.name) ||
        (isFolder(attributes) && !clearLinksBelow(path.text))) {
        report(L"Left alone: a link in it could not be removed, attributes 0x%x", attributes,
               path.text);
        return;
    }
    const unsigned flags = isFolder(entry.attributes)
                               ? kDeleteFolderFlags
                               : kDeleteFolderFlags | platform::kFofFilesOnly;
    bool aborted = false;
    const int result = platform::shellFileOperation(
        owner, platform::kFoDelete, ShellPathList(path).text, nullptr, flags, &aborted);
    if (result != 0) {
        report(L"Error in SHFileOperation [0x%x]", static_cast<unsigned>(result), path.text);
    }
}

}  // namespace

bool copyPayload(const wchar_t* target, const wchar_t* payload, platform::Window owner,
                 PlacedEntries* placed) {
    bool everyEntryCopied = true;
    FinalPath targetFinal;
    const FinalPath* known = finalPathOf(target, targetFinal) ? &targetFinal : nullptr;
    const bool listed = visitEntries(payload, [&](const platform::FindEntry& entry) {
        // A failed entry does not stop the walk; the step fails at its end.
        if (!copyEntry(target, known, payload, entry, owner, placed)) {
            everyEntryCopied = false;
        }
        return true;
    });
    return listed && everyEntryCopied;
}

bool removePayload(const wchar_t* target, const wchar_t* payload, platform::Window owner) {
    bool everyEntryReached = true;
    FinalPath targetFinal;
    const FinalPath* known = finalPathOf(target, targetFinal) ? &targetFinal : nullptr;
    const bool listed = visitEntries(payload, [&](const platform::FindEntry& entry) {
        removeEntry(target, known, entry, owner, everyEntryReached);
        return true;
    });
    return listed && everyEntryReached;
}

void removePlaced(const wchar_t* target, const PlacedEntries& placed, platform::Window owner) {
    if (placed.empty()) {
        return;
    }
    bool everyEntryReached = true;
    FinalPath targetFinal;
    const FinalPath* known = finalPathOf(target, targetFinal) ? &targetFinal : nullptr;
    for (const platform::FindEntry& entry : placed) {
        removeEntry(target, known, entry, owner, everyEntryReached);
    }
}
