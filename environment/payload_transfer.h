// The walk over one payload folder: each top-level entry is replaced in, or
// removed from, one target folder, by the rules of an entry's life.
#pragma once

#include <vector>

#include "environment/entry_life.h"
#include "platform/platform.h"

// What a run has replaced so far, in order, until it commits or restores.
using ReplacedEntries = std::vector<ReplacedEntry>;

// Brings every entry that payload names back from a killed run in target.
bool recoverTarget(const wchar_t* target, const wchar_t* payload, platform::Window owner);

// Replaces every top-level entry of payload in target, one shell copy each,
// owned by owner, and adds what it touched to replaced. Stops at the first
// entry that did not arrive whole: every file and folder below it, of its
// kind, files at their size.
bool copyPayload(const FinalPath& target, const wchar_t* payload, platform::Window owner,
                 ReplacedEntries& replaced);

// Commits a run that arrived whole: false, with nothing committed, when a
// link in a set-aside entry cannot be removed as the link itself.
bool commitReplaced(const ReplacedEntries& replaced, platform::Window owner);
// Takes a run back: the new entries go and what was there comes back.
void restoreReplaced(const ReplacedEntries& replaced, platform::Window owner);

// Deletes from target every entry that payload names, for good. An entry
// absent from the target is not a failure.
bool removePayload(const FinalPath& target, const wchar_t* payload, platform::Window owner);
