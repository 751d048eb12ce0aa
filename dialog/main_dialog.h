// The main dialog of the interactive install.
#pragma once

// Module handle the dialogs are created from.
extern void* gInstance;

// Runs the main dialog modally until it ends.
void runMainDialog();
