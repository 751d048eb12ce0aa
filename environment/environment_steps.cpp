#include "environment/environment_steps.h"

#include <cwchar>

#include "environment/diagnostics.h"
#include "environment/folder_rules.h"
#include "environment/journal.h"
#include "environment/payload_transfer.h"
#include "environment/program_bounds.h"
#include "environment/step_folders.h"

namespace {

// The roots as full paths, made once before any step uses them: a root
// such as "C:\x\..\adt" must never make the shell create "C:\x".
struct FullRoots {
    PathBuffer first;
    PathBuffer second;
    EnvironmentRoots roots{nullptr, nullptr};
};

bool fullRoot(const wchar_t* root, PathBuffer& out, const wchar_t*& use) {
    use = nullptr;
    if (root == nullptr) {
        return true;
    }
    use = out.text;
    return platform::fullPath(root, out.text, kPathChars);
}

// Every root that the kind's steps use is usable, made a full path.
bool makeFullRoots(EnvironmentKind kind, const EnvironmentRoots& roots, FullRoots& out) {
    for (int number = 1; number <= 2; ++number) {
        if (!isUsableRoot(stepRoot(integrationStep(kind, number), roots))) {
            return false;
        }
    }
    return fullRoot(roots.first, out.first, out.roots.first) &&
           fullRoot(roots.second, out.second, out.roots.second);
}

// The copy of both steps, committed or restored; made names an add-on
// folder that it made, for the caller to remove after a failure, once the
// folders are no longer held.
bool replaceSteps(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
                  platform::Window owner, PathBuffer& made) {
    const int first = order == StepOrder::PluginsFirst ? 1 : 2;
    const IntegrationStep* steps[2] = {&integrationStep(kind, first),
                                       &integrationStep(kind, 3 - first)};
    StepFolders folders[2];
    for (int i = 0; i < 2; ++i) {
        if (!holdTarget(*steps[i], roots, folders[i])) {
            report(L"An environment root is not usable: nothing was copied", 0,
                   folders[i].target.text);
            return false;
        }
    }
    for (int i = 0; i < 2; ++i) {
        int entries = 0;
        if (!holdPayload(*steps[i], folders[i]) ||
            !payloadNamesUsable(folders[i].payload.text, entries) || !stagingClear(folders[i])) {
            return false;
        }
        folders[i].staging.expectEntries(entries);
    }
    JournalEntry journal;
    StagingFolder* const staging[2] = {&folders[0].staging, &folders[1].staging};
    if (!journal.begin(Direction::Back, staging, 2)) {
        return false;
    }
    bool whole = true;
    for (int i = 0; i < 2 && whole; ++i) {
        whole = (!folders[i].missing || makeTarget(folders[i], made)) &&
                copyPayload(folders[i].staging, folders[i].payload.text, owner);
    }
    // The commit point: from here on the run only goes forward.
    whole = whole && journal.commit();
    return journal.end(owner) && whole;
}

bool isKept(const PathBuffer& target, const KeptFolders* kept) {
    for (int i = 0; kept != nullptr && i < kept->count; ++i) {
        if (sameFolder(target.text, kept->folders[i].text)) {
            return true;
        }
    }
    return false;
}

// The step's target below root, root made a full path first, lies clear of
// the program's folder and its payload.
bool targetClearOfProgram(const IntegrationStep& step, const wchar_t* root) {
    PathBuffer full;
    PathBuffer target;
    return platform::fullPath(root, full.text, kPathChars) &&
           joinPath(target, full.text, step.targetSub) && clearOfProgram(target.text);
}

}  // namespace

bool rootClearOfProgram(EnvironmentKind kind, RootSlot slot, const wchar_t* root) {
    for (int number = 1; number <= 2; ++number) {
        const IntegrationStep& step = integrationStep(kind, number);
        if (step.root == slot && !targetClearOfProgram(step, root)) {
            return false;
        }
    }
    return true;
}

bool rootsUsable(EnvironmentKind kind, const EnvironmentRoots& roots) {
    for (int number = 1; number <= 2; ++number) {
        const IntegrationStep& step = integrationStep(kind, number);
        const wchar_t* root = stepRoot(step, roots);
        if (!isUsableRoot(root) || !targetClearOfProgram(step, root)) {
            return false;
        }
    }
    return true;
}

bool integrateEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
                          platform::Window owner) {
    FullRoots full;
    PathBuffer made;
    if (!makeFullRoots(kind, roots, full)) {
        platform::debugOutput(L"An environment root is not usable: nothing was copied");
        return false;
    }
    if (replaceSteps(kind, full.roots, order, owner, made)) {
        return true;
    }
    if (!made.empty()) {
        platform::removeDirectory(made.text);  // only when empty again
    }
    platform::debugOutput(
        L"Integration failed: the lines above say what, and what is left in flight");
    return false;
}

KeptFolders targetFolders(EnvironmentKind kind, const EnvironmentRoots& roots) {
    KeptFolders targets;
    if (!rootsUsable(kind, roots)) {
        return targets;
    }
    for (int number = 1; number <= 2; ++number) {
        if (stepTarget(integrationStep(kind, number), roots, targets.folders[targets.count])) {
            ++targets.count;
        }
    }
    return targets;
}

bool removeEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, platform::Window owner,
                       const KeptFolders* kept) {
    FullRoots full;
    StepFolders folders[2];
    StagingFolder* staging[2] = {};
    int worked = 0;
    const IntegrationStep* steps[2] = {&integrationStep(kind, 1), &integrationStep(kind, 2)};
    bool usable = makeFullRoots(kind, roots, full);
    for (int i = 0; i < 2 && usable; ++i) {
        PathBuffer target;
        std::uint32_t attributes = 0;
        usable = stepTarget(*steps[i], full.roots, target);
        // A step whose target is missing, or kept, has nothing to remove.
        folders[i].missing = usable && (!platform::entryAttributes(target.text, &attributes) ||
                                        isKept(target, kept));
        usable = usable && (folders[i].missing || (holdTarget(*steps[i], full.roots, folders[i]) &&
                                                   stagingClear(folders[i])));
        if (usable && !folders[i].missing) {
            staging[worked++] = &folders[i].staging;
        }
    }
    JournalEntry journal;
    if (!usable || !journal.begin(Direction::Forward, staging, worked)) {
        platform::debugOutput(L"An environment root is not usable: nothing was removed");
        return false;
    }
    bool removed = true;
    for (int i = 0; i < 2 && removed; ++i) {
        removed = folders[i].missing ||
                  (holdPayload(*steps[i], folders[i]) &&
                   removePayload(folders[i].staging, folders[i].payload.text, owner));
    }
    return journal.end(owner) && removed;
}
