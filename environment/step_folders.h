// The folders of one step of a run: its target and payload folders, held
// open from their check to the run's end, so that neither they nor a folder
// above them can be swapped for a link in between, and the target's
// staging folder. The run works on them by their final paths.
#pragma once

#include "environment/environment_kind.h"
#include "environment/folder_rules.h"
#include "environment/staging_folder.h"
#include "platform/platform.h"

struct StepFolders {
    FinalPath target;  // where the target is, or will be when missing
    bool missing = false;
    platform::HeldFolder heldTarget;  // or, while it is missing, its parent
    FinalPath payload;
    platform::HeldFolder heldPayload;
    StagingFolder staging;
};

// The step's target folder below the root that roots give it.
bool stepTarget(const IntegrationStep& step, const EnvironmentRoots& roots, PathBuffer& target);

// Holds the step's target, or the parent of a missing add-on target, and
// checks it against the program's folders. A missing plug-in target, or a
// target that is not a folder, makes the root unusable.
bool holdTarget(const IntegrationStep& step, const EnvironmentRoots& roots, StepFolders& folders);

// Holds the step's payload folder beside the program.
bool holdPayload(const IntegrationStep& step, StepFolders& folders);

// Makes the add-on folder, one level, in its held parent, and holds it;
// made receives its path.
bool makeTarget(StepFolders& folders, PathBuffer& made);

// Sets the staging folder up. A target where a run that did not end left
// what could not be finished is left alone: its slots would be finished the
// wrong way with this run's.
bool stagingClear(StepFolders& folders);
