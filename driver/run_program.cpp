#include "driver/run_program.h"

#include "dialog/dialog_state.h"
#include "dialog/main_dialog.h"
#include "dialog/messages.h"
#include "driver/command_line.h"
#include "environment/environment_steps.h"
#include "environment/integration_record.h"
#include "environment/journal.h"

namespace {

// Silent runs have no window to own their shell operations.
void silentInstall() {
    const EnvironmentKind kind = recordedKind(gRecord);
    EnvironmentRoots roots = recordedRoots(kind);
    if (kind == EnvironmentKind::AndroidStudio) {
        // Android Studio's folders are the ones found now, not the recorded
        // ones. One that is not installed lacks a folder: it is left alone.
        roots = {gAndroidStudio.path.text, gAndroidStudio.sdkPath.text};
    }
    integrateEnvironment(kind, roots, StepOrder::PluginsFirst, nullptr);
}

}  // namespace

int runProgram(void* instance, const wchar_t* tail) {
    // Before any DLL is loaded by name and any path is opened; a refusal changes nothing else.
    platform::hardenProcess();
    gInstance = instance;
    const RunOptions options = scanSwitches(tail);
    if (!options.actionGiven) {
        showMessage(kUsageText, platform::kMbOk);
        return 0;
    }
    // Two installers, or an installer and a user, never interleave their work.
    // A silent run holds the lock from before it reads the record to its end;
    // the dialog takes it for each Integrate only, so that an open dialog
    // blocks no installer.
    platform::RunLock oneRunAtATime;
    const bool interactive = options.install && !options.silent;
    if (!interactive && !takeRunLock(oneRunAtATime, nullptr)) {
        return 0;
    }
    readIntegrationRecord();
    findAndroidStudio();
    const IntegrationRecord atStart = gRecord;

    if (options.install) {
        if (options.silent) {
            silentInstall();
        } else {
            if (showMessage(kIntroductionText, platform::kMbOkCancel) == platform::kIdCancel) {
                return 0;
            }
            runMainDialog();
        }
    }
    if (options.uninstall) {
        if (interactive && !takeRunLock(oneRunAtATime, nullptr)) {
            return 0;
        }
        // The record as read at start, even when the dialog rewrote it.
        gRecord = atStart;
        const EnvironmentKind kind = recordedKind(gRecord);
        removeEnvironment(kind, recordedRoots(kind), nullptr);
    }
    return 0;
}
