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
// for a copy to write to. A link, or an entry that leads elsewhere, is
// removed as the link itself; so is a file, whose other names a hard link
// would share; links below a folder are cleared. folderFinal is null when
// where the folder is cannot be told. False when it could not be made safe.
bool readyForCopy(const FinalPath* folderFinal, const wchar_t* folder, const wchar_t* name,
                  const PathBuffer& path, std::uint32_t attributes);
