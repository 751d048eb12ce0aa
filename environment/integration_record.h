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

// The folders that the record read at start holds for kind (a kind's roots
// come from here alone).
EnvironmentRoots recordedRoots(EnvironmentKind kind);

// Writes all five values, each as a REG_SZ of one whole path buffer: kind's
// roots in kind's values, the others empty.
bool writeIntegrationRecord(EnvironmentKind kind, const EnvironmentRoots& roots);
