#include "environment/entry_life.h"

#include <cwchar>

#include "environment/arrival_check.h"
#include "environment/folder_walk.h"
#include "environment/removal_rules.h"

namespace {

constexpr unsigned kCopyFolderFlags = platform::kFofMultiDestFiles | platform::kFofSilent |
                                      platform::kFofNoConfirmation | platform::kFofNoConfirmMkdir |
                                      platform::kFofNoErrorUi;
static_assert(kCopyFolderFlags == 0x0615, "copy flags for a folder");
static_assert((kCopyFolderFlags | platform::kFofFilesOnly) == 0x0695, "copy flags for a file");

// The payload entry fits at the target and, should the run be taken back,
// in a slot of the staging folder.
bool payloadFits(const StagingFolder& staging, const wchar_t* payload,
                 const platform::FindEntry& entry) {
    std::size_t deepest = 0;
    if (!surveyEntry(nullptr, payload, entry, deepest)) {
        return false;
    }
    if (std::wcslen(staging.target()) + 1 + deepest >= kPathChars ||
        !staging.fitsInNextSlot(entry.name, deepest, true)) {
        report(L"Too long to be copied and taken back whole", 0, entry.name);
        return false;
    }
    return true;
}

// Moves what is at target\name (any case) into a slot of the staging
// folder, its own spelling in the slot's mark; or marks that nothing was
// there.
bool setAside(StagingFolder& staging, const wchar_t* name) {
    PathBuffer path;
    PathBuffer slot;
    platform::FindEntry existing{};
    if (!joinPath(path, staging.target(), name) || !lookUpEntry(path.text, existing)) {
        return staging.mark(SlotKind::WasAbsent, name, slot);
    }
    // What was there is kept whole until the run commits: renamed, never
    // copied, never written into. It must be removable safely by then.
    std::size_t deepest = 0;
    if (!surveyEntry(&staging.targetFinal(), staging.target(), existing, deepest) ||
        !joinPath(path, staging.target(), existing.name)) {
        return false;
    }
    if (!staging.fitsInNextSlot(existing.name, deepest)) {
        report(L"Too long to be set aside whole", 0, path.text);
        return false;
    }
    if (!staging.mark(SlotKind::SetAside, existing.name, slot)) {
        return false;
    }
    if (!platform::moveEntry(path.text, slot.text)) {
        report(L"Could not be set aside, error %u", platform::lastError(), path.text);
        staging.unmarkLast();
        return false;
    }
    return true;
}

}  // namespace

bool replaceEntry(StagingFolder& staging, const wchar_t* payload, const platform::FindEntry& entry,
                  platform::Window owner) {
    PathBuffer source;
    PathBuffer destination;
    if (!joinPath(source, payload, entry.name) ||
        !joinPath(destination, staging.target(), entry.name)) {
        report(L"Path too long to copy", 0, entry.name);
        return false;
    }
    if (!payloadFits(staging, payload, entry) || !setAside(staging, entry.name)) {
        return false;
    }
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
