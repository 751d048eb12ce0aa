#include "environment/link_guard.h"

#include "environment/folder_rules.h"
#include "environment/folder_walk.h"
#include "platform/platform.h"

bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes) {
    return (attributes & platform::kAttributeDirectory) != 0 ? platform::removeDirectory(path.text)
                                                             : platform::deleteFile(path.text);
}

bool clearLinksBelow(const wchar_t* folder) {
    FinalPath folderFinal;
    if (!finalPathOf(folder, folderFinal)) {
        return false;
    }
    return visitEntries(folder, [&](const platform::FindEntry& entry) {
        PathBuffer path;
        if (!joinPath(path, folder, entry.name)) {
            return false;
        }
        if ((entry.attributes & platform::kAttributeReparsePoint) != 0) {
            return removeLinkItself(path, entry.attributes);
        }
        return !leadsElsewhere(folderFinal, folder, entry.name) &&
               ((entry.attributes & platform::kAttributeDirectory) == 0 ||
                clearLinksBelow(path.text));
    });
}

bool readyForCopy(const FinalPath* folderFinal, const wchar_t* folder, const wchar_t* name,
                  const PathBuffer& path, std::uint32_t attributes) {
    if ((attributes & platform::kAttributeReparsePoint) != 0) {
        return removeLinkItself(path, attributes);
    }
    // A link that does not show as one cannot be removed as the link
    // itself: deleting it deletes what it leads to (Wine 8 does so).
    if (folderFinal == nullptr || leadsElsewhere(*folderFinal, folder, name)) {
        return false;
    }
    return (attributes & platform::kAttributeDirectory) != 0 ? clearLinksBelow(path.text)
                                                             : platform::deleteFile(path.text);
}
