#include "driver/run_program.h"

#include "dialog/main_dialog.h"
#include "driver/command_line.h"
#include "environment/integration_record.h"
#include "environment/payload_transfer.h"

const wchar_t kCaption[] = L"Quorvane v3.1";

const wchar_t kUsageText[] =
    L"Usage: Quorvane [-install | -uninstall] [-silence]\r\n"
    L"\r\n"
    L"-install\r\n"
    L"\tInstall Parvex for Android components to the selected Android development "
    L"environment.\r\n"
    L"-uninstall\r\n"
    L"\tUninstall Parvex for Android components from the already integrated Android "
    L"development environment.\r\n"
    L"-silence\r\n"
    L"\tsilence mode (no dialog box).";

const wchar_t kIntroductionText[] =
    L"The Quorvane will install Parvex for Android components into the preferred Android "
    L"development environment (Android Studio or Android Developer Tools (ADT) Bundle or "
    L"standalone Eclipse and Android SDK) on your computer.";

namespace {

MessageText gRunMessage;

int showRunMessage(const wchar_t* text, unsigned buttons) {
    copyText(gRunMessage.text, text);
    return platform::messageBox(nullptr, gRunMessage.text, kCaption,
                                buttons | platform::kMbSetForeground);
}

EnvironmentRoots recordedRoots() {
    switch (recordedKind(gRecord)) {
        case EnvironmentKind::AndroidStudio:
            return {gRecord.androidStudioPath.text, gRecord.androidStudioSdkPath.text};
        case EnvironmentKind::AdtBundle:
            return {gRecord.adtRootFolder.text, nullptr};
        case EnvironmentKind::StandaloneEclipseSdk:
        default:
            return {gRecord.eclipseRootFolder.text, gRecord.sdkRootFolder.text};
    }
}

void silentInstall() {
    const EnvironmentKind kind = recordedKind(gRecord);
    EnvironmentRoots roots = recordedRoots();
    if (kind == EnvironmentKind::AndroidStudio) {
        // Android Studio's folders are the ones found now, not the recorded ones.
        roots = {gAndroidStudio.path.text, gAndroidStudio.sdkPath.text};
    }
    integrateEnvironment(kind, roots, StepOrder::PluginsFirst);
}

}  // namespace

int runProgram(const wchar_t* tail) {
    const RunOptions options = scanSwitches(tail);
    if (!options.actionGiven) {
        showRunMessage(kUsageText, platform::kMbOk);
        return 0;
    }
    readIntegrationRecord();
    findAndroidStudio();

    if (options.install) {
        if (options.silent) {
            silentInstall();
        } else {
            if (showRunMessage(kIntroductionText, platform::kMbOkCancel) == platform::kIdCancel) {
                return 0;
            }
            runMainDialog();
        }
    }
    if (options.uninstall) {
        // The record as read at start, even when the dialog rewrote it.
        removeEnvironment(recordedKind(gRecord), recordedRoots());
    }
    return 0;
}
