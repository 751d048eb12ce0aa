// Carries the payload folders that lie next to the executable into an
// environment's target folders and out again.
#pragma once

#include "environment/environment_kind.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

// Owner of the shell operations: the main dialog while it exists.
extern platform::Window gShellOwner;

enum class StepOrder { PluginsFirst, AddOnsFirst };

struct IntegrationStep {
    int number;                 // 1 plug-ins, 2 add-ons
    const wchar_t* root;        // one of the environment's roots
    const wchar_t* targetSub;   // below the root
    const wchar_t* payloadSub;  // below payloadRoot
    bool createTarget;          // target created first when missing
};

// The step of one kind; number is 1 or 2.
IntegrationStep integrationStep(EnvironmentKind kind, const EnvironmentRoots& roots, int number);

// The executable's folder with its trailing backslash.
bool payloadRoot(PathBuffer& out);

// Copies every top-level entry of payload into target. Succeeds only when
// the payload could be listed and every entry's copy succeeded.
bool copyPayload(const wchar_t* target, const wchar_t* payload);

// Deletes from target every entry that payload names. An entry absent from
// the target is not a failure.
bool removePayload(const wchar_t* target, const wchar_t* payload);

// Runs the copy of the first step and, only when it succeeded, the second.
bool integrateEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order);

// Folders that a removal must leave alone (the ones just integrated).
struct KeptFolders {
    PathBuffer folders[2];
    int count = 0;
};

// The target folders of both steps of an environment; a step whose root is
// empty or whose path does not fit adds nothing.
KeptFolders targetFolders(EnvironmentKind kind, const EnvironmentRoots& roots);

// Removes the plug-in step's payload and, only when that succeeded, the
// add-on step's. A step whose target folder is one of kept is skipped and
// counts as done.
bool removeEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots,
                       const KeptFolders* kept = nullptr);
