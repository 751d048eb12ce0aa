// Removal never goes through a link: links are removed as the links
// themselves, and a folder below which a link could not be removed so is
// left alone whole, since a recursive delete may follow it.
#pragma once

#include <cstdint>

#include "environment/path_buffer.h"

// Removes the link at path itself (RemoveDirectoryW for a folder link,
// DeleteFileW for a file link); false when it could not.
bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes);

// Removes every link below folder as the link itself. False when one could
// not be removed, when an entry leads elsewhere without showing as a link,
// or when the tree could not be read whole: then nothing below folder may
// be deleted recursively.
bool clearLinksBelow(const wchar_t* folder);
