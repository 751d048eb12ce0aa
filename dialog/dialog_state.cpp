#include "dialog/dialog_state.h"

DialogState gDialog;
void* gInstance = nullptr;

EnvironmentKind selectedKind() {
    if (gDialog.androidStudioSelected) {
        return EnvironmentKind::AndroidStudio;
    }
    return gDialog.adtSelected ? EnvironmentKind::AdtBundle : EnvironmentKind::StandaloneEclipseSdk;
}
