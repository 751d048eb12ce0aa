// The registry record of the environment that holds the payload, and the
// location of Android Studio as its own installer records it.
#pragma once

#include "environment/environment_kind.h"
#include "environment/path_buffer.h"

struct IntegrationRecord {
    PathBuffer androidStudioPath;
    PathBuffer androidStudioSdkPath;
    PathBuffer adtRootFolder;
    PathBuffer eclipseRootFolder;
    PathBuffer sdkRootFolder;
    bool recordedAndroidStudio = false;
    bool recordedAdt = false;  // only set when recordedAndroidStudio is false
};

struct AndroidStudioInstall {
    PathBuffer path;
    PathBuffer sdkPath;
    bool installed = false;
};

// Read once per run, before anything else; a write does not change them.
extern IntegrationRecord gRecord;
extern AndroidStudioInstall gAndroidStudio;

EnvironmentKind recordedKind(const IntegrationRecord& record);

bool readIntegrationRecord();
bool findAndroidStudio();

enum class Selection { AndroidStudio, AdtBundle, Standalone };

// The dialog's working buffers that the record is written from.
struct RecordSource {
    PathBuffer* androidStudioTarget;
    PathBuffer* androidStudioSdkTarget;
    PathBuffer* newAdtRoot;
    PathBuffer* newEclipseRoot;
    PathBuffer* newSdkRoot;
};

// Empties the buffers of the kinds not selected, then writes all five
// values, each as a REG_SZ of one whole path buffer.
bool writeIntegrationRecord(Selection selection, const RecordSource& source);
