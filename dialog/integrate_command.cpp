#include "dialog/integrate_command.h"

#include "dialog/dialog_state.h"
#include "dialog/folder_selection.h"
#include "dialog/main_dialog.h"
#include "environment/payload_transfer.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

struct Outcome {
    const wchar_t* success;
    const wchar_t* failure;
};

const Outcome kAndroidStudioOutcome = {
    L"The Android Studio has been integrated with Parvex for Android successfully!",
    L"The Android Studio has not been integrated with Parvex for Android! Please try again!"};
const Outcome kAdtOutcome = {
    L"The selected ADT Bundle has been integrated with Parvex for Android successfully!",
    L"The selected ADT has not been integrated with Parvex for Android! Please try again!"};
const Outcome kStandaloneOutcome = {
    L"The selected standalone Eclipse and Android SDK have been integrated with Parvex for "
    L"Android successfully!",
    L"The selected standalone Eclipse and Android SDK have not been integrated with Parvex "
    L"for Android! Please try again!"};

void closeProgressWindow() {
    if (gDialog.progressWindow != nullptr) {
        platform::destroyWindow(gDialog.progressWindow);
        gDialog.progressWindow = nullptr;
    }
}

bool fail(const Outcome& outcome) {
    closeProgressWindow();
    showMessage(outcome.failure);
    return false;
}

// The recorded environment, as read at start, for the clean step.
void cleanRecordedEnvironment(bool considerAndroidStudio, const KeptFolders& justWritten) {
    const EnvironmentKind kind = recordedKind(gRecord);
    if (considerAndroidStudio && kind == EnvironmentKind::AndroidStudio) {
        removeEnvironment(kind, {gRecord.androidStudioPath.text, gRecord.androidStudioSdkPath.text},
                          &justWritten);
    } else if (kind == EnvironmentKind::AdtBundle) {
        removeEnvironment(kind, {gRecord.adtRootFolder.text, nullptr}, &justWritten);
    } else {
        removeEnvironment(EnvironmentKind::StandaloneEclipseSdk,
                          {gRecord.eclipseRootFolder.text, gRecord.sdkRootFolder.text},
                          &justWritten);
    }
}

bool succeed(const Outcome& outcome, EnvironmentKind kind, const EnvironmentRoots& roots) {
    if (gDialog.cleanChecked) {
        // What this press just integrated is never cleaned away again.
        const KeptFolders justWritten = targetFolders(kind, roots);
        cleanRecordedEnvironment(kind != EnvironmentKind::AndroidStudio, justWritten);
    }
    const bool written = writeIntegrationRecord(
        currentSelection(), {&gDialog.androidStudioTarget, &gDialog.androidStudioSdkTarget,
                             &gDialog.newAdtRoot, &gDialog.newEclipseRoot, &gDialog.newSdkRoot});
    if (!written) {
        platform::debugOutput(L"The integration record could not be written");
    }
    closeProgressWindow();
    if (showMessage(outcome.success) == platform::kIdOk) {
        platform::endDialog(gDialog.mainWindow, IDC_INTEGRATE);
        return true;
    }
    return false;
}

bool integrate(const Outcome& outcome, EnvironmentKind kind, const EnvironmentRoots& roots,
               StepOrder order) {
    platform::showAndPaint(gDialog.progressWindow);
    if (!integrateEnvironment(kind, roots, order)) {
        return fail(outcome);
    }
    return succeed(outcome, kind, roots);
}

bool refuse(const wchar_t* reason, const Outcome& outcome) {
    // The hidden progress window goes before any message is shown.
    closeProgressWindow();
    showMessage(reason);
    return fail(outcome);
}

}  // namespace

bool onIntegrate() {
    gDialog.progressWindow = platform::createProgressWindow(gInstance, gDialog.mainWindow);
    switch (currentSelection()) {
        case Selection::AndroidStudio:
            copyText(gDialog.androidStudioTarget.text, gAndroidStudio.path.text);
            copyText(gDialog.androidStudioSdkTarget.text, gAndroidStudio.sdkPath.text);
            return integrate(
                kAndroidStudioOutcome, EnvironmentKind::AndroidStudio,
                {gDialog.androidStudioTarget.text, gDialog.androidStudioSdkTarget.text},
                StepOrder::PluginsFirst);
        case Selection::AdtBundle:
            if (!gDialog.adtValid) {
                return refuse(
                    L"Click Browse and select a valid ADT root folder "
                    L"first!" QUORVANE_ADT_DOWNLOAD_HINT,
                    kAdtOutcome);
            }
            return integrate(kAdtOutcome, EnvironmentKind::AdtBundle,
                             {gDialog.newAdtRoot.text, nullptr}, StepOrder::PluginsFirst);
        case Selection::Standalone:
        default:
            if (!gDialog.eclipseValid) {
                return refuse(L"Click Browse and select a valid Eclipse root folder first!",
                              kStandaloneOutcome);
            }
            if (!gDialog.sdkValid) {
                return refuse(L"Click Browse and select a valid Android SDK root folder first!",
                              kStandaloneOutcome);
            }
            // The add-on step goes first for a standalone environment.
            return integrate(kStandaloneOutcome, EnvironmentKind::StandaloneEclipseSdk,
                             {gDialog.newEclipseRoot.text, gDialog.newSdkRoot.text},
                             StepOrder::AddOnsFirst);
    }
}
