#include "dialog/main_dialog.h"

#include <initializer_list>

#include "dialog/dialog_state.h"
#include "dialog/folder_selection.h"
#include "dialog/integrate_command.h"
#include "dialog/messages.h"
#include "environment/integration_record.h"
#include "resources/resource_ids.h"

namespace {

void enable(std::initializer_list<int> ids, bool enabled) {
    for (int id : ids) {
        platform::enableControl(gDialog.mainWindow, id, enabled);
    }
}

void onRadio(int id, unsigned notification) {
    if (notification == platform::kBnClicked &&
        platform::getCheck(gDialog.mainWindow, id) == platform::kBstChecked) {
        // The three radios are not one automatic group: set every mark.
        for (int radio : {IDC_NEW_STUDIO_RADIO, IDC_NEW_ADT_RADIO, IDC_NEW_STANDALONE_RADIO}) {
            platform::setCheck(gDialog.mainWindow, radio,
                               radio == id ? platform::kBstChecked : platform::kBstUnchecked);
        }
        if (id == IDC_NEW_STUDIO_RADIO) {
            // ADT selected keeps its value; Android Studio wins over it.
            gDialog.androidStudioSelected = true;
        } else {
            gDialog.adtSelected = id == IDC_NEW_ADT_RADIO;
            gDialog.androidStudioSelected = false;
        }
    }
    refreshNewSection();
}

void onCleanCheckBox(unsigned notification) {
    if (notification != platform::kBnClicked) {
        return;
    }
    const int state = platform::getCheck(gDialog.mainWindow, IDC_CLEAN_CHECK);
    if (state == platform::kBstChecked) {
        gDialog.cleanChecked = true;
    } else if (state == platform::kBstUnchecked) {
        gDialog.cleanChecked = false;
    }
}

}  // namespace

void runMainDialog() {
    platform::runMainDialog(gInstance, {onMainDialogInit, onMainDialogClose, onMainDialogCommand});
    // Later shell operations (the uninstall part) have no owner window.
    gDialog.mainWindow = nullptr;
}

void initIntegratedSection() {
    platform::Window dialog = gDialog.mainWindow;
    platform::setControlText(dialog, IDC_OLD_ADT_ROOT_EDIT, gRecord.adtRootFolder.text);
    platform::setControlText(dialog, IDC_OLD_ECLIPSE_ROOT_EDIT, gRecord.eclipseRootFolder.text);
    platform::setControlText(dialog, IDC_OLD_SDK_ROOT_EDIT, gRecord.sdkRootFolder.text);
    if (gAndroidStudio.installed) {
        platform::setControlText(dialog, IDC_OLD_STUDIO_PATH_EDIT, gRecord.androidStudioPath.text);
        platform::setControlText(dialog, IDC_OLD_STUDIO_SDK_EDIT,
                                 gRecord.androidStudioSdkPath.text);
    } else {
        platform::setControlText(dialog, IDC_OLD_STUDIO_PATH_EDIT, kNotInstalled);
        platform::setControlText(dialog, IDC_OLD_STUDIO_SDK_EDIT, kNotInstalled);
    }

    const EnvironmentKind kind = recordedKind(gRecord);
    enable({IDC_OLD_STUDIO_LINE, IDC_OLD_STUDIO_PATH_LABEL, IDC_OLD_STUDIO_PATH_EDIT,
            IDC_OLD_STUDIO_SDK_LABEL, IDC_OLD_STUDIO_SDK_EDIT},
           kind == EnvironmentKind::AndroidStudio);
    enable({IDC_OLD_ADT_LINE, IDC_OLD_ADT_ROOT_LABEL, IDC_OLD_ADT_ROOT_EDIT},
           kind == EnvironmentKind::AdtBundle);
    enable({IDC_OLD_STANDALONE_LINE, IDC_OLD_ECLIPSE_ROOT_LABEL, IDC_OLD_ECLIPSE_ROOT_EDIT,
            IDC_OLD_SDK_ROOT_LABEL, IDC_OLD_SDK_ROOT_EDIT},
           kind == EnvironmentKind::StandaloneEclipseSdk);

    if (gAndroidStudio.installed) {
        platform::setCheck(dialog, IDC_NEW_STUDIO_RADIO, platform::kBstChecked);
        gDialog.androidStudioSelected = true;
    } else {
        platform::setCheck(dialog, IDC_NEW_ADT_RADIO, platform::kBstChecked);
        gDialog.adtSelected = true;
    }
}

void refreshNewSection() {
    platform::Window dialog = gDialog.mainWindow;
    if (gAndroidStudio.installed) {
        platform::setControlText(dialog, IDC_NEW_STUDIO_PATH_EDIT, gAndroidStudio.path.text);
        platform::setControlText(dialog, IDC_NEW_STUDIO_SDK_EDIT, gAndroidStudio.sdkPath.text);
    } else {
        platform::setControlText(dialog, IDC_NEW_STUDIO_PATH_EDIT, kNotInstalled);
        platform::setControlText(dialog, IDC_NEW_STUDIO_SDK_EDIT, kNotInstalled);
    }
    platform::enableControl(dialog, IDC_NEW_STUDIO_RADIO, gAndroidStudio.installed);

    const EnvironmentKind selected = selectedKind();
    enable({IDC_NEW_STUDIO_PATH_LABEL, IDC_NEW_STUDIO_PATH_EDIT, IDC_NEW_STUDIO_SDK_LABEL,
            IDC_NEW_STUDIO_SDK_EDIT},
           selected == EnvironmentKind::AndroidStudio);
    enable({IDC_NEW_ADT_ROOT_LABEL, IDC_NEW_ADT_BROWSE, IDC_NEW_ADT_ROOT_EDIT},
           selected == EnvironmentKind::AdtBundle);
    enable({IDC_NEW_ECLIPSE_ROOT_LABEL, IDC_NEW_ECLIPSE_BROWSE, IDC_NEW_ECLIPSE_ROOT_EDIT,
            IDC_NEW_SDK_ROOT_LABEL, IDC_NEW_SDK_BROWSE, IDC_NEW_SDK_ROOT_EDIT},
           selected == EnvironmentKind::StandaloneEclipseSdk);
}

bool onMainDialogInit(platform::Window dialog) {
    gDialog.mainWindow = dialog;
    platform::setWindowText(dialog, kCaption);
    initIntegratedSection();
    refreshNewSection();
    const std::int32_t started = platform::coInitialize();
    if (started == platform::kSOk) {
        gDialog.comStarted = true;
        return true;
    }
    showBrowseError();
    // Balances a call that succeeded with S_FALSE; a failed call has
    // nothing to balance.
    if (started >= 0) {
        platform::coUninitialize();
    }
    return false;
}

bool onMainDialogClose() {
    // Only a started COM is stopped, once.
    if (gDialog.comStarted) {
        platform::coUninitialize();
        gDialog.comStarted = false;
    }
    return false;
}

bool onMainDialogCommand(int id, unsigned notification) {
    switch (id) {
        case IDCANCEL:
            platform::endDialog(gDialog.mainWindow, IDCANCEL);
            return true;
        case IDC_NEW_ADT_BROWSE:
        case IDC_NEW_ECLIPSE_BROWSE:
        case IDC_NEW_SDK_BROWSE:
            onBrowseButton(id);
            return false;
        case IDC_CLEAN_CHECK:
            onCleanCheckBox(notification);
            return false;
        case IDC_INTEGRATE:
            return onIntegrate();
        case IDC_NEW_STUDIO_RADIO:
        case IDC_NEW_ADT_RADIO:
        case IDC_NEW_STANDALONE_RADIO:
            onRadio(id, notification);
            return false;
        default:
            return false;
    }
}
