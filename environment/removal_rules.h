// How anything the program takes out of a folder goes for good: a link as
// the link itself, never followed; a tree only when nothing in it leads
// elsewhere unseen, its links removed as links and its read-only attributes
// cleared before the shell deletes it; and gone only when it is gone on disk.
#pragma once

#include <cstddef>

#include "environment/folder_rules.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

// Only name surrogates (symbolic links, junctions, mount points) lead
// elsewhere; other reparse points (compressed, deduplicated or cloud files)
// are files and folders like any other.
bool isLink(const platform::FindEntry& entry);

// Reads folder\entry and everything below it without changing anything.
// False, reported, when something at or below it leads elsewhere without
// showing as a link (only when folderFinal, where folder really is, is
// given) or when its tree cannot be read whole. deepest receives the length
// of its longest path relative to folder, the entry's name included.
bool surveyEntry(const FinalPath* folderFinal, const wchar_t* folder,
                 const platform::FindEntry& entry, std::size_t& deepest);

// Removes the link at path as the link itself.
bool removeLinkItself(const PathBuffer& path, std::uint32_t attributes);

// Deletes what is at path for good: links at and below it as the links
// themselves, read-only attributes cleared, then the shell's delete. True
// when nothing is left at path. The caller has surveyed it.
bool deleteForGood(const PathBuffer& path, platform::Window owner);
