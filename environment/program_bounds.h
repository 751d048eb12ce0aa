// The program's folder and its payload are never written to or removed
// from, whatever path leads there.
#pragma once

#include "environment/path_buffer.h"

// The executable's folder with its trailing backslash.
bool payloadRoot(PathBuffer& out);

// True when the target folder and each of its parents is none of the
// program's folder and its payload folders, and the program's folder does
// not lie in the target; folders are compared by what they are on disk.
// False when it cannot be told. The program's folders are looked up once.
bool clearOfProgram(const wchar_t* target);

// Forgets the program's folders: the next check looks them up again.
void forgetProgramFolders();
