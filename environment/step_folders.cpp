#include "environment/step_folders.h"

#include <cwchar>

#include "environment/diagnostics.h"
#include "environment/program_bounds.h"

bool stepTarget(const IntegrationStep& step, const EnvironmentRoots& roots, PathBuffer& target) {
    const wchar_t* root = stepRoot(step, roots);
    return root != nullptr && joinPath(target, root, step.targetSub);
}

bool holdTarget(const IntegrationStep& step, const EnvironmentRoots& roots, StepFolders& folders) {
    PathBuffer target;
    if (!stepTarget(step, roots, target)) {
        return false;
    }
    std::uint32_t attributes = 0;
    if (platform::entryAttributes(target.text, &attributes)) {
        return holdFinal(folders.heldTarget, target.text, folders.target) &&
               clearOfProgram(folders.target.text);
    }
    folders.missing = true;
    wchar_t* name = std::wcsrchr(target.text, L'\\');
    FinalPath parent;
    if (!step.createTarget || name == nullptr) {
        return false;
    }
    *name++ = L'\0';
    return holdFinal(folders.heldTarget, target.text, parent) &&
           std::swprintf(folders.target.text, sizeof(folders.target.text) / sizeof(wchar_t),
                         L"%ls\\%ls", parent.text, name) > 0 &&
           clearOfProgram(folders.target.text);
}

bool holdPayload(const IntegrationStep& step, StepFolders& folders) {
    PathBuffer payload;
    // payloadRoot ends in a backslash; the subfolder is appended to it.
    if (!payloadRoot(payload) ||
        std::wcslen(payload.text) + std::wcslen(step.payloadSub) >= kPathChars) {
        return false;
    }
    std::wcscat(payload.text, step.payloadSub);
    return holdFinal(folders.heldPayload, payload.text, folders.payload);
}

bool makeTarget(StepFolders& folders, PathBuffer& made) {
    if (!platform::createDirectory(folders.target.text)) {
        report(L"The add-on folder could not be made, error %u", platform::lastError(),
               folders.target.text);
        return false;
    }
    copyText(made.text, folders.target.text);
    folders.missing = false;
    return holdFinal(folders.heldTarget, made.text, folders.target);
}

bool stagingClear(StepFolders& folders) {
    if (!folders.staging.setTarget(folders.target.text)) {
        return false;
    }
    if (!folders.missing && folders.staging.present()) {
        report(L"Left alone: a run that did not end left what could not be finished", 0,
               folders.target.text);
        return false;
    }
    return true;
}
