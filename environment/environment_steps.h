// Integrating an environment and removing the payload from it, step by step.
#pragma once

#include "environment/environment_kind.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

enum class StepOrder { PluginsFirst, AddOnsFirst };

// The executable's folder with its trailing backslash.
bool payloadRoot(PathBuffer& out);

// True when every root that the kind's steps use is usable. An environment
// with one unusable root is left alone whole.
bool rootsUsable(EnvironmentKind kind, const EnvironmentRoots& roots);

// Runs the copy of the first step and, only when it succeeded, the second.
// Shell operations are owned by owner.
bool integrateEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
                          platform::Window owner);

// Folders that a removal must leave alone (the ones just integrated).
struct KeptFolders {
    PathBuffer folders[2];
    int count = 0;
};

// The target folders of both steps of an environment; a step whose root is
// not usable or whose path does not fit adds nothing.
KeptFolders targetFolders(EnvironmentKind kind, const EnvironmentRoots& roots);

// Removes the plug-in step's payload and, only when that succeeded, the
// add-on step's. A step whose target folder is one of kept is skipped and
// counts as done.
bool removeEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, platform::Window owner,
                       const KeptFolders* kept = nullptr);
