// The main dialog's flags and working buffers, process-wide.
#pragma once

#include "environment/integration_record.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

struct DialogState {
    platform::Window mainWindow = nullptr;
    platform::Window progressWindow = nullptr;
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

Selection currentSelection();

extern const wchar_t kNotInstalled[];
extern const wchar_t kAndroidSdkDownloadPage[];

// Shows text (composed in the shared message buffer) with no owner, the
// program's caption, MB_OK and MB_SETFOREGROUND; returns the answer.
int showMessage(const wchar_t* text);
// The same with "%s" replaced by argument as it stands.
int showMessageWith(const wchar_t* textTemplate, const wchar_t* argument);
// The box captioned "ERROR" (MB_OK only) for a browser that cannot open.
void showBrowseError();
