// The Browse buttons of the new group.
#pragma once

#include "environment/path_buffer.h"

// Asks the shell's folder browser for a file-system folder; true when one
// was chosen and copied into destination.
bool selectFolder(const wchar_t* title, PathBuffer& destination);

// Button 1003, 1010 or 1011: pick, validate, show or report.
void onBrowseButton(int id);
