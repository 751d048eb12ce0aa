// What a folder is on disk: whether a root may be used at all, whether two
// spellings name the same folder, and whether an entry leads elsewhere.
#pragma once

#include "environment/path_buffer.h"
#include "platform/platform.h"

// A usable root is a drive path ("C:\...") or a network path
// ("\\server\share..."), not a device or namespace path ("\\.\", "\\?\",
// "\??\"), and names a folder that exists now. Nothing ever creates a root.
bool isUsableRoot(const wchar_t* root);

// True when both name the same folder on disk: the same volume and file
// index when both can be opened, else the same full path compared
// case-insensitively over all of Unicode. When not even that can be told
// they count as the same, so that the caller leaves the folder alone.
bool sameFolder(const wchar_t* a, const wchar_t* b);

// The same full path, compared case-insensitively over all of Unicode; true
// when that cannot be told.
bool samePathText(const wchar_t* a, const wchar_t* b);

// Where a folder really is, links followed ("\\?\" prefix removed).
struct FinalPath {
    wchar_t text[kPathChars + 8] = {};  // a final path may run a little longer
};
// False when it cannot be told.
bool finalPathOf(const wchar_t* path, FinalPath& out);
// Drops the "\\?\" or "\\?\UNC" prefix of a final path.
bool withoutFinalPrefix(FinalPath& out);
// Holds the folder at path open (see HeldFolder); out receives where it is.
bool holdFinal(platform::HeldFolder& held, const wchar_t* path, FinalPath& out);
// Holds the folder at path when it is where it seems: no link on the way
// leads elsewhere.
bool holdWhereItSeems(platform::HeldFolder& held, const wchar_t* path);

// True when folder\name leads somewhere other than that place: a link that
// its attributes do not show. folderFinal is the folder's final path. An
// entry whose final path cannot be told counts as leading elsewhere.
bool leadsElsewhere(const FinalPath& folderFinal, const wchar_t* folder, const wchar_t* name);
