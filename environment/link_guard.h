// Neither removal nor copy ever goes through a link: links are removed as
// the links themselves, and a folder below which a link could not be
// removed so is left alone whole, since a recursive delete or copy may
// follow it.
#pragma once

#include <cstdint>

#include "environment/folder_rules.h"
#include "environment/path_buffer.h"

// Removes the link at path itself (RemoveDirectoryW for a folder link,
// DeleteFileW for a file link); false when it could not.
bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes);

// Removes every link below folder as the link itself. False when one could
// not be removed, when an entry leads elsewhere without showing as a link,
// or when the tree could not be read whole: then nothing below folder may
// be deleted recursively.
bool clearLinksBelow(const wchar_t* folder);

// Makes the existing entry path (folder\name, with these attributes) safe
// for a copy to write to: a link is removed as the link itself; a file is
// removed, as a hard link's other names would share what is written; links
// below a folder are cleared. An entry that leads elsewhere without showing
// as a link cannot be made safe, nor can one when where folder is cannot be
// told (folderFinal null). False when it could not be made safe.
bool readyForCopy(const FinalPath* folderFinal, const wchar_t* folder, const wchar_t* name,
                  const PathBuffer& path, std::uint32_t attributes);
