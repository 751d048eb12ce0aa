// Integrating an environment and removing the payload from it, step by step.
#pragma once

#include "environment/environment_kind.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

enum class StepOrder { PluginsFirst, AddOnsFirst };

// True when the targets of the kind's steps that take root (in slot) lie
// outside the program's folder and its payload, and do not hold it.
bool rootClearOfProgram(EnvironmentKind kind, RootSlot slot, const wchar_t* root);

// True when every root that the kind's steps use is usable and clear of the
// program. An environment with one unusable root is left alone whole.
bool rootsUsable(EnvironmentKind kind, const EnvironmentRoots& roots);

// Replaces every payload entry of the first step and, only when they all
// arrived whole, of the second, with the roots made full paths first and
// each target and payload folder held from its check to the end. Each
// target is first brought back from a run that was killed there. When both
// steps arrived whole, what was there before goes for good; when anything
// failed, the new entries go, what was there comes back, and an add-on
// folder made by the run is removed again. Only the add-on folder is ever
// made: a missing plug-in folder makes the environment unusable. Shell
// operations are owned by owner.
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
// add-on step's; a killed run's entries in them go too. A step whose target
// folder is one of kept, or is missing, is skipped and counts as done.
bool removeEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, platform::Window owner,
                       const KeptFolders* kept = nullptr);
