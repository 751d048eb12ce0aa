// The life of one payload-named entry in a target folder. What was there is
// set aside by a rename inside the folder, the payload entry is copied fresh
// into the empty place and checked whole; once the whole run has arrived the
// set-aside entries go for good (commit), and when anything failed the new
// entries go and the set-aside ones come back (restore). A run killed on the
// way leaves set-aside names, which the next run at the folder recovers from.
// No operation here ever goes through a link.
#pragma once

#include "environment/folder_rules.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

// What a run did to one entry, until it commits or restores it.
struct ReplacedEntry {
    PathBuffer target;                  // the folder, as its final path
    wchar_t name[kPathChars] = {};      // the payload entry's name
    wchar_t previous[kPathChars] = {};  // what was there, by its own name; empty: nothing was
};

// Only name surrogates (symbolic links, junctions, mount points) lead
// elsewhere; other reparse points (compressed, deduplicated or cloud files)
// are files and folders like any other.
bool isLink(const platform::FindEntry& entry);

// Brings target\name back to how it was before a killed run: a half-done
// removal is finished, a set-aside entry comes back in place of what the
// run had copied. False when that could not be done.
bool recoverEntry(const wchar_t* target, const wchar_t* name, platform::Window owner);

// Sets aside what is at target\name (any case) and copies the payload entry
// fresh in its place. True when it arrived whole. touched tells whether
// anything changed, so that replaced must be committed or restored.
bool replaceEntry(const FinalPath& target, const wchar_t* payload, const platform::FindEntry& entry,
                  platform::Window owner, ReplacedEntry& replaced, bool& touched);

// The commit, in two passes over all of a run's entries: first every link
// at or below a set-aside entry is removed as the link itself (false when
// one cannot be, and the run is restored), then the set-aside entries go.
bool unlinkSetAside(const ReplacedEntry& replaced);
void commitEntry(const ReplacedEntry& replaced, platform::Window owner);
void restoreEntry(const ReplacedEntry& replaced, platform::Window owner);

// Removes target\name for good: a link as the link itself, anything else
// renamed aside first, so that a killed removal is finished by the next run.
// An entry that leads elsewhere unseen, or that is held open, is left alone.
void removeEntry(const FinalPath& target, const wchar_t* name, platform::Window owner);
