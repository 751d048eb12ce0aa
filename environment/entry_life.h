// The life of one payload-named entry in a target folder during a run. What
// was there is set aside into the target's staging folder by a rename, and
// the payload entry is copied fresh into the empty place and checked whole.
// Once every entry of the run has arrived, the staging folders are finished
// forward (what was set aside goes for good); when anything failed, back
// (the new entries go and what was there comes back). No operation here
// ever goes through a link.
#pragma once

#include "environment/staging_folder.h"
#include "platform/platform.h"

// Sets aside what is at the staging folder's target\entry.name (any case)
// and copies the payload entry fresh in its place; true when it arrived
// whole. Whether everything fits where it will be moved is measured first:
// an entry that does not fails untouched.
bool replaceEntry(StagingFolder& staging, const wchar_t* payload, const platform::FindEntry& entry,
                  platform::Window owner);
