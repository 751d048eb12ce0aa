#include "environment/environment_steps.h"

#include <cwchar>

#include "environment/folder_rules.h"
#include "environment/payload_transfer.h"

namespace {

bool stepTarget(const IntegrationStep& step, const EnvironmentRoots& roots, PathBuffer& target) {
    const wchar_t* root = stepRoot(step, roots);
    return root != nullptr && joinPath(target, root, step.targetSub);
}

// The step's payload folder, which must never be its target as well.
bool stepPayload(const IntegrationStep& step, const PathBuffer& target, PathBuffer& payload) {
    if (!payloadRoot(payload)) {
        return false;
    }
    // payloadRoot ends in a backslash; the subfolder is appended to it.
    if (std::wcslen(payload.text) + std::wcslen(step.payloadSub) >= kPathChars) {
        return false;
    }
    std::wcscat(payload.text, step.payloadSub);
    if (sameFolder(target.text, payload.text)) {
        platform::debugOutput(L"The payload folder is not a target");
        return false;
    }
    return true;
}

bool copyStep(const IntegrationStep& step, const EnvironmentRoots& roots, platform::Window owner) {
    PathBuffer target;
    if (!stepTarget(step, roots, target)) {
        return false;
    }
    if (step.createTarget) {
        std::uint32_t attributes = 0;
        if (!platform::entryAttributes(target.text, &attributes)) {
            platform::createDirectory(target.text);
        }
    }
    PathBuffer payload;
    return stepPayload(step, target, payload) && copyPayload(target.text, payload.text, owner);
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
    return stepPayload(step, target, payload) && removePayload(target.text, payload.text, owner);
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

bool rootsUsable(EnvironmentKind kind, const EnvironmentRoots& roots) {
    for (int number = 1; number <= 2; ++number) {
        if (!isUsableRoot(stepRoot(integrationStep(kind, number), roots))) {
            return false;
        }
    }
    return true;
}

bool integrateEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order,
                          platform::Window owner) {
    if (!rootsUsable(kind, roots)) {
        platform::debugOutput(L"An environment root is not usable: nothing was copied");
        return false;
    }
    const int first = order == StepOrder::PluginsFirst ? 1 : 2;
    return copyStep(integrationStep(kind, first), roots, owner) &&
           copyStep(integrationStep(kind, 3 - first), roots, owner);
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
    if (!rootsUsable(kind, roots)) {
        platform::debugOutput(L"An environment root is not usable: nothing was removed");
        return false;
    }
    return removeStep(integrationStep(kind, 1), roots, owner, kept) &&
           removeStep(integrationStep(kind, 2), roots, owner, kept);
}
