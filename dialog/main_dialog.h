// The main dialog of the interactive install.
#pragma once

#include "platform/platform.h"

// Runs the main dialog modally until it ends.
void runMainDialog();

// The dialog procedure's handlers; each returns what the procedure returns.
bool onMainDialogInit(platform::Window dialog);
bool onMainDialogClose();
bool onMainDialogCommand(int id, unsigned notification);

void initIntegratedSection();
void refreshNewSection();
