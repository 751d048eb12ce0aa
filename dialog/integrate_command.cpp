#include "dialog/integrate_command.h"

#include "dialog/dialog_state.h"
#include "dialog/messages.h"
#include "environment/environment_steps.h"
#include "resources/resource_ids.h"

namespace {

// The environment that one selection integrates into.
struct Target {
    const OutcomeTexts& outcome;
    EnvironmentKind kind;
    EnvironmentRoots roots;
    StepOrder order;
    const wchar_t* missingChoice;  // why Integrate refuses, or null
};

Target targetOf(Selection selection) {
    switch (selection) {
        case Selection::AndroidStudio:
            copyText(gDialog.androidStudioTarget.text, gAndroidStudio.path.text);
            copyText(gDialog.androidStudioSdkTarget.text, gAndroidStudio.sdkPath.text);
            return {kAndroidStudioOutcome,
                    EnvironmentKind::AndroidStudio,
                    {gDialog.androidStudioTarget.text, gDialog.androidStudioSdkTarget.text},
                    StepOrder::PluginsFirst,
                    nullptr};
        case Selection::AdtBundle:
            return {kAdtOutcome,
                    EnvironmentKind::AdtBundle,
                    {gDialog.newAdtRoot.text, nullptr},
                    StepOrder::PluginsFirst,
                    gDialog.adtValid ? nullptr : kChooseAdtFirst};
        case Selection::Standalone:
        default:
            // The add-on step goes first for a standalone environment.
            return {kStandaloneOutcome,
                    EnvironmentKind::StandaloneEclipseSdk,
                    {gDialog.newEclipseRoot.text, gDialog.newSdkRoot.text},
                    StepOrder::AddOnsFirst,
                    !gDialog.eclipseValid ? kChooseEclipseFirst
                    : !gDialog.sdkValid   ? kChooseSdkFirst
                                          : nullptr};
    }
}

// The recorded environment, as read at start. The Android Studio branch
// considers only the ADT and standalone kinds.
void cleanRecordedEnvironment(bool considerAndroidStudio, const KeptFolders& justWritten) {
    const EnvironmentKind kind = recordedKind(gRecord);
    if (considerAndroidStudio && kind == EnvironmentKind::AndroidStudio) {
        removeEnvironment(kind, {gRecord.androidStudioPath.text, gRecord.androidStudioSdkPath.text},
                          gDialog.mainWindow, &justWritten);
    } else if (kind == EnvironmentKind::AdtBundle) {
        removeEnvironment(kind, {gRecord.adtRootFolder.text, nullptr}, gDialog.mainWindow,
                          &justWritten);
    } else {
        removeEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                          {gRecord.eclipseRootFolder.text, gRecord.sdkRootFolder.text},
                          gDialog.mainWindow, &justWritten);
    }
}

// Copies, cleans when asked and writes the record, behind the progress
// window; true on success.
bool integrate(const Target& target, platform::ProgressWindow& progress) {
    progress.showAndPaint();
    if (!integrateOrRollBack(target.kind, target.roots, target.order, gDialog.mainWindow)) {
        return false;
    }
    if (gDialog.cleanChecked) {
        // What this press just integrated is never cleaned away again.
        cleanRecordedEnvironment(target.kind != EnvironmentKind::AndroidStudio,
                                 targetFolders(target.kind, target.roots));
    }
    if (!writeIntegrationRecord(
            currentSelection(),
            {&gDialog.androidStudioTarget, &gDialog.androidStudioSdkTarget, &gDialog.newAdtRoot,
             &gDialog.newEclipseRoot, &gDialog.newSdkRoot})) {
        platform::debugOutput(L"The integration record could not be written");
    }
    return true;
}

}  // namespace

bool onIntegrate() {
    const Target target = targetOf(currentSelection());
    bool integrated = false;
    {
        // The progress window goes before any message is shown.
        platform::ProgressWindow progress(gInstance, gDialog.mainWindow);
        integrated = target.missingChoice == nullptr && integrate(target, progress);
    }
    if (target.missingChoice != nullptr) {
        showMessage(target.missingChoice);
    }
    if (!integrated) {
        showMessage(target.outcome.failure);
        return false;
    }
    if (showMessage(target.outcome.success) == platform::kIdOk) {
        platform::endDialog(gDialog.mainWindow, IDC_INTEGRATE);
        return true;
    }
    return false;
}
