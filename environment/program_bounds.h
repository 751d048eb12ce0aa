// The program's folder and its payload are never written to or removed
// from, whatever path leads there.
#pragma once

// True when the target folder and each of its parents is none of the
// program's folder and its payload folders, and the program's folder does
// not lie in the target; folders are compared by what they are on disk.
// False when it cannot be told.
bool clearOfProgram(const wchar_t* target);
