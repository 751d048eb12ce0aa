// Integrating an environment and removing the payload from it, step by step.
#pragma once

#include "environment/environment_kind.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

enum class StepOrder { PluginsFirst, AddOnsFirst };

// The executable's folder with its trailing backslash.
bool payloadRoot(PathBuffer& out);

// True when the targets of the kind's steps that take root (in slot) lie
// outside the program's folder and its payload, and do not hold it.
bool rootClearOfProgram(EnvironmentKind kind, RootSlot slot, const wchar_t* root);

// True when every root that the kind's steps use is usable and clear of the
// program. An environment with one unusable root is left alone whole.
bool rootsUsable(EnvironmentKind kind, const EnvironmentRoots& roots);

// Runs the copy of the first step and, only when it succeeded, the second,
// with the roots made full paths first. Shell operations are owned by
// owner. A failure is left as it is: the silent install copies into the
// environment that the record names, whose removal takes it away.
bool integrateEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
                          platform::Window owner);

// As integrateEnvironment, but when it fails, the entries that it put where
// nothing of their name was, and an add-on target folder that it created,
// are removed again by the rules of removal; entries that were there before
// stay.
bool integrateOrRollBack(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
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
