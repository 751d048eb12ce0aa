#include "dialog/integrate_command.h"

#include "dialog/dialog_state.h"
#include "dialog/messages.h"
#include "environment/environment_steps.h"
#include "environment/integration_record.h"
#include "environment/journal.h"
#include "resources/resource_ids.h"

namespace {

// The environment that one kind integrates into, from the dialog's working
// buffers.
struct Target {
    const OutcomeTexts& outcome;
    EnvironmentKind kind;
    EnvironmentRoots roots;
    StepOrder order;
    const wchar_t* missingChoice;  // why Integrate refuses, or null
};

// A folder picked and valid, and not emptied since by the integration of
// another kind: that one is asked for again.
bool chosen(bool valid, const PathBuffer& root) {
    return valid && !root.empty();
}

Target targetOf(EnvironmentKind kind) {
    switch (kind) {
        case EnvironmentKind::AndroidStudio:
            return {kAndroidStudioOutcome,
                    kind,
                    {gDialog.androidStudioTarget.text, gDialog.androidStudioSdkTarget.text},
                    StepOrder::PluginsFirst,
                    nullptr};
        case EnvironmentKind::AdtBundle:
            return {kAdtOutcome,
                    kind,
                    {gDialog.newAdtRoot.text, nullptr},
                    StepOrder::PluginsFirst,
                    chosen(gDialog.adtValid, gDialog.newAdtRoot) ? nullptr : kChooseAdtFirst};
        case EnvironmentKind::StandaloneEclipseSdk:
        default:
            // The add-on step goes first for a standalone environment.
            return {kStandaloneOutcome,
                    kind,
                    {gDialog.newEclipseRoot.text, gDialog.newSdkRoot.text},
                    StepOrder::AddOnsFirst,
                    !chosen(gDialog.eclipseValid, gDialog.newEclipseRoot) ? kChooseEclipseFirst
                    : !chosen(gDialog.sdkValid, gDialog.newSdkRoot)       ? kChooseSdkFirst
                                                                          : nullptr};
    }
}

// Android Studio is integrated into the folders found at start.
void fillAndroidStudioTargets() {
    copyText(gDialog.androidStudioTarget.text, gAndroidStudio.path.text);
    copyText(gDialog.androidStudioSdkTarget.text, gAndroidStudio.sdkPath.text);
}

// Like the record's values, the working buffers of the kinds not integrated
// are emptied.
void emptyWorkingBuffersExcept(EnvironmentKind kind) {
    if (kind != EnvironmentKind::AndroidStudio) {
        gDialog.androidStudioTarget.clear();
        gDialog.androidStudioSdkTarget.clear();
    }
    if (kind != EnvironmentKind::AdtBundle) {
        gDialog.newAdtRoot.clear();
    }
    if (kind != EnvironmentKind::StandaloneEclipseSdk) {
        gDialog.newEclipseRoot.clear();
        gDialog.newSdkRoot.clear();
    }
}

// The recorded environment, as read at start. After an Android Studio
// integration only the ADT and standalone kinds are considered: a recorded
// Android Studio is cleaned as the standalone folders of the record.
void cleanRecordedEnvironment(EnvironmentKind integrated, const KeptFolders& justWritten) {
    EnvironmentKind kind = recordedKind(gRecord);
    if (integrated == EnvironmentKind::AndroidStudio && kind == EnvironmentKind::AndroidStudio) {
        kind = EnvironmentKind::StandaloneEclipseSdk;
    }
    removeEnvironment(kind, recordedRoots(kind), gDialog.mainWindow, &justWritten);
}

// Copies, cleans when asked and writes the record, behind the progress
// window; true on success.
bool integrate(const Target& target, platform::ProgressWindow& progress) {
    progress.showAndPaint();
    // From the press to the record write, and no longer: an open dialog
    // never blocks an installer. The clean step acts on the record as it is
    // once the lock is held.
    platform::RunLock oneRunAtATime;
    if (!takeRunLock(oneRunAtATime, gDialog.mainWindow)) {
        return false;
    }
    readIntegrationRecord();
    if (!integrateEnvironment(target.kind, target.roots, target.order, gDialog.mainWindow)) {
        return false;
    }
    if (gDialog.cleanChecked) {
        // What this press just integrated is never cleaned away again.
        cleanRecordedEnvironment(target.kind, targetFolders(target.kind, target.roots));
    }
    if (!writeIntegrationRecord(target.kind, target.roots)) {
        platform::debugOutput(L"The integration record could not be written");
    }
    emptyWorkingBuffersExcept(target.kind);
    return true;
}

}  // namespace

bool onIntegrate() {
    const EnvironmentKind kind = selectedKind();
    if (kind == EnvironmentKind::AndroidStudio) {
        fillAndroidStudioTargets();
    }
    const Target target = targetOf(kind);
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
