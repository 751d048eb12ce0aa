// The one way the program reads folders: a lookup of one entry, and a visit
// of a folder's entries that tells a listing that fails from an empty folder.
#pragma once

#include "environment/diagnostics.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

inline bool isFolder(std::uint32_t attributes) {
    return (attributes & platform::kAttributeDirectory) != 0;
}

// "." and "..", whatever their attributes: no file can have these names.
bool isDotEntry(const platform::FindEntry& entry);

// The entry at path itself (FindFirstFileW on the path; a link is not
// followed); false when nothing was found.
bool lookUpEntry(const wchar_t* path, platform::FindEntry& entry);

// Calls visit(entry) for every entry of folder other than "." and "..",
// until visit returns false. Returns false when visit stopped, or when the
// listing could not be read whole; that is reported, and the caller cannot
// tell what lies below: it leaves the folder alone.
template <typename Visit>
bool visitEntries(const wchar_t* folder, Visit visit) {
    PathBuffer pattern;
    platform::FindEntry entry{};
    platform::FileListing listing;
    // The listing of an existing folder always holds "." (a drive's root
    // aside, which holds entries or nothing at all), so one that cannot be
    // started is a failure, never an empty folder.
    if (!joinPath(pattern, folder, L"*.*") || !listing.first(pattern.text, &entry)) {
        report(L"Folder not listed, so left alone, error %u", platform::lastError(), folder);
        return false;
    }
    do {
        if (!isDotEntry(entry) && !visit(entry)) {
            return false;
        }
    } while (listing.next(&entry));
    if (!listing.ended()) {
        report(L"Folder listing broke off, so left alone, error %u", platform::lastError(), folder);
        return false;
    }
    return true;
}
