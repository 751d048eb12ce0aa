// The main dialog's flags and working buffers, process-wide.
#pragma once

#include "environment/environment_kind.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

struct DialogState {
    platform::Window mainWindow = nullptr;
    bool comStarted = false;
    bool cleanChecked = false;
    bool adtValid = false;
    bool eclipseValid = false;
    bool sdkValid = false;
    bool adtSelected = false;
    bool androidStudioSelected = false;  // wins over adtSelected
    PathBuffer newAdtRoot;
    PathBuffer newEclipseRoot;
    PathBuffer newSdkRoot;
    PathBuffer androidStudioTarget;
    PathBuffer androidStudioSdkTarget;
};

extern DialogState gDialog;

// Module handle the dialogs are created from.
extern void* gInstance;

// The kind the radio buttons select.
EnvironmentKind selectedKind();
