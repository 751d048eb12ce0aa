// The walk over one payload folder: each top-level entry is copied into,
// or removed from, one target folder.
#pragma once

#include "platform/platform.h"

// Copies every top-level entry of payload into target, one shell operation
// each, owned by owner. Succeeds only when the payload could be listed and
// every entry is in the target afterwards, of the same kind.
bool copyPayload(const wchar_t* target, const wchar_t* payload, platform::Window owner);

// Deletes from target every entry that payload names, for good. An entry
// absent from the target is not a failure. A link is removed as the link
// itself, never through it; one that cannot be removed so is left alone.
bool removePayload(const wchar_t* target, const wchar_t* payload, platform::Window owner);
