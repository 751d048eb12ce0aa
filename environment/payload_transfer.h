// The walk over one payload folder: each top-level entry is replaced in, or
// removed from, one target folder through its staging folder.
#pragma once

#include "environment/staging_folder.h"
#include "platform/platform.h"

// The payload's top-level names can all be replaced whole: none is the
// staging folder's and no two differ only in case. Reported when not.
// entries receives how many there are.
bool payloadNamesUsable(const wchar_t* payload, int& entries);

// Replaces every top-level entry of payload in the staging folder's target,
// one shell copy each, owned by owner. Stops at the first entry that did
// not arrive whole: every file and folder below it, of its kind, files at
// their size.
bool copyPayload(StagingFolder& staging, const wchar_t* payload, platform::Window owner);

// Deletes from the target every entry that payload names, for good. An
// entry absent from the target, or left alone, is not a failure.
bool removePayload(StagingFolder& staging, const wchar_t* payload, platform::Window owner);
