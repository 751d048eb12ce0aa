// The walk over one payload folder: each top-level entry is copied into,
// or removed from, one target folder.
#pragma once

#include <vector>

#include "platform/platform.h"

// The payload entries that a copy put where nothing of their name was.
using PlacedEntries = std::vector<platform::FindEntry>;

// Copies every top-level entry of payload into target, one shell operation
// each, owned by owner. An existing destination is first made safe to write
// into: a link, or an entry that leads elsewhere, is removed as the link
// itself, and links below a folder are cleared; an entry for which that
// cannot be done fails untouched. Succeeds only when the payload could be
// listed and every entry arrived whole: every file and folder below it, of
// its kind, files at their size. Entries new to target are added to placed.
bool copyPayload(const wchar_t* target, const wchar_t* payload, platform::Window owner,
                 PlacedEntries* placed = nullptr);

// Deletes from target every entry that payload names, for good. An entry
// absent from the target is not a failure. A link is removed as the link
// itself, never through it; one that cannot be removed so is left alone.
bool removePayload(const wchar_t* target, const wchar_t* payload, platform::Window owner);

// Removes the placed entries from target again, by the rules of removal.
void removePlaced(const wchar_t* target, const PlacedEntries& placed, platform::Window owner);
