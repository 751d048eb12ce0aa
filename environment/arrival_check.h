// Whether a copy arrived whole, told by one walk of its source.
#pragma once

#include "environment/path_buffer.h"
#include "platform/platform.h"

// True when destination is what source (the entry as listed) is: of its
// kind, a file at its size, a folder with every file and folder below it
// so, by name. Contents are not read. A path below that does not fit makes
// the copy not whole. Reports the first shortfall.
bool arrivedWhole(const PathBuffer& source, const PathBuffer& destination,
                  const platform::FindEntry& entry);
