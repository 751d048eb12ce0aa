#include "environment/link_guard.h"

#include <cwchar>

#include "environment/folder_rules.h"
#include "platform/platform.h"

namespace {

bool isDotEntry(const platform::FindEntry& entry) {
    return std::wcscmp(entry.name, L".") == 0 || std::wcscmp(entry.name, L"..") == 0;
}

}  // namespace

bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes) {
    return (attributes & platform::kAttributeDirectory) != 0 ? platform::removeDirectory(path.text)
                                                             : platform::deleteFile(path.text);
}

bool clearLinksBelow(const wchar_t* folder) {
    PathBuffer pattern;
    FinalPath folderFinal;
    platform::FindEntry entry{};
    platform::FileListing listing;
    if (!joinPath(pattern, folder, L"*.*") || !finalPathOf(folder, folderFinal)) {
        return false;
    }
    if (!listing.first(pattern.text, &entry)) {
        return true;  // nothing below it
    }
    do {
        if (isDotEntry(entry)) {
            continue;
        }
        PathBuffer path;
        if (!joinPath(path, folder, entry.name)) {
            return false;
        }
        if ((entry.attributes & platform::kAttributeReparsePoint) != 0) {
            if (!removeLinkItself(path, entry.attributes)) {
                return false;
            }
        } else if (leadsElsewhere(folderFinal, folder, entry.name) ||
                   ((entry.attributes & platform::kAttributeDirectory) != 0 &&
                    !clearLinksBelow(path.text))) {
            return false;
        }
    } while (listing.next(&entry));
    return true;
}
