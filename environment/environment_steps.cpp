#include "environment/environment_steps.h"

#include <cwchar>

#include "environment/folder_rules.h"
#include "environment/payload_transfer.h"
#include "environment/program_bounds.h"

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

bool makeFullRoots(const EnvironmentRoots& roots, FullRoots& out) {
    return fullRoot(roots.first, out.first, out.roots.first) &&
           fullRoot(roots.second, out.second, out.roots.second);
}

bool stepTarget(const IntegrationStep& step, const EnvironmentRoots& roots, PathBuffer& target) {
    const wchar_t* root = stepRoot(step, roots);
    return root != nullptr && joinPath(target, root, step.targetSub);
}

bool stepPayload(const IntegrationStep& step, PathBuffer& payload) {
    // payloadRoot ends in a backslash; the subfolder is appended to it.
    if (!payloadRoot(payload) ||
        std::wcslen(payload.text) + std::wcslen(step.payloadSub) >= kPathChars) {
        return false;
    }
    std::wcscat(payload.text, step.payloadSub);
    return true;
}

// What one copy step did, so that a failed integration can be undone.
struct StepRun {
    PathBuffer target;
    bool createdTarget = false;
    PlacedEntries placed;
};

bool copyStep(const IntegrationStep& step, const EnvironmentRoots& roots, platform::Window owner,
              StepRun& run) {
    if (!stepTarget(step, roots, run.target)) {
        return false;
    }
    if (step.createTarget) {
        std::uint32_t attributes = 0;
        if (!platform::entryAttributes(run.target.text, &attributes)) {
            run.createdTarget = platform::createDirectory(run.target.text);
        }
    }
    PathBuffer payload;
    return stepPayload(step, payload) &&
           copyPayload(run.target.text, payload.text, owner, &run.placed);
}

bool copySteps(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
               platform::Window owner, StepRun (&runs)[2]) {
    FullRoots full;
    if (!rootsUsable(kind, roots) || !makeFullRoots(roots, full)) {
        platform::debugOutput(L"An environment root is not usable: nothing was copied");
        return false;
    }
    const int first = order == StepOrder::PluginsFirst ? 1 : 2;
    return copyStep(integrationStep(kind, first), full.roots, owner, runs[0]) &&
           copyStep(integrationStep(kind, 3 - first), full.roots, owner, runs[1]);
}

bool isKept(const PathBuffer& target, const KeptFolders* kept) {
    for (int i = 0; kept != nullptr && i < kept->count; ++i) {
        if (sameFolder(target.text, kept->folders[i].text)) {
            return true;
        }
    }
    return false;
}

bool removeStep(const IntegrationStep& step, const EnvironmentRoots& roots, platform::Window owner,
                const KeptFolders* kept) {
    PathBuffer target;
    if (!stepTarget(step, roots, target)) {
        return false;
    }
    if (isKept(target, kept)) {
        return true;
    }
    PathBuffer payload;
    return stepPayload(step, payload) && removePayload(target.text, payload.text, owner);
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

bool payloadRoot(PathBuffer& out) {
    const std::size_t length = platform::moduleFileName(out.text, kPathChars);
    wchar_t* lastBackslash =
        (length == 0 || length >= kPathChars) ? nullptr : std::wcsrchr(out.text, L'\\');
    if (lastBackslash == nullptr) {
        out.clear();
        return false;
    }
    lastBackslash[1] = L'\0';
    return true;
}

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
    StepRun runs[2];
    if (copySteps(kind, roots, order, owner, runs)) {
        return true;
    }
    platform::debugOutput(
        L"Integration failed; nothing is undone: the record names this environment, and "
        L"-uninstall removes what arrived");
    return false;
}

bool integrateOrRollBack(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
                         platform::Window owner) {
    StepRun runs[2];
    if (copySteps(kind, roots, order, owner, runs)) {
        return true;
    }
    for (const StepRun& run : runs) {
        removePlaced(run.target.text, run.placed, owner);
        if (run.createdTarget) {
            platform::removeDirectory(run.target.text);  // only when empty again
        }
    }
    platform::debugOutput(L"Integration failed; what it put where nothing was is removed again");
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
    if (!rootsUsable(kind, roots) || !makeFullRoots(roots, full)) {
        platform::debugOutput(L"An environment root is not usable: nothing was removed");
        return false;
    }
    return removeStep(integrationStep(kind, 1), full.roots, owner, kept) &&
           removeStep(integrationStep(kind, 2), full.roots, owner, kept);
}
