#include "environment/arrival_check.h"

#include "environment/folder_walk.h"

namespace {

// The entry itself at destination: its kind, and a file's size.
bool arrivedAs(const PathBuffer& destination, const platform::FindEntry& entry) {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    if (!platform::entryAttributes(destination.text, &attributes, &size) ||
        isFolder(attributes) != isFolder(entry.attributes) ||
        (!isFolder(attributes) && size != entry.size)) {
        report(L"Copy not in place whole, attributes 0x%x", attributes, destination.text);
        return false;
    }
    return true;
}

}  // namespace

bool arrivedWhole(const PathBuffer& source, const PathBuffer& destination,
                  const platform::FindEntry& entry) {
    if (!arrivedAs(destination, entry)) {
        return false;
    }
    if (!isFolder(entry.attributes)) {
        return true;
    }
    return visitEntries(source.text, [&](const platform::FindEntry& below) {
        PathBuffer from;
        PathBuffer to;
        if (!joinPath(from, source.text, below.name) ||
            !joinPath(to, destination.text, below.name)) {
            // The shell skips what it cannot name; the copy is not whole.
            report(L"Path too long to copy whole, below", 0, source.text);
            return false;
        }
        return arrivedWhole(from, to, below);
    });
}
