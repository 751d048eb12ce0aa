#include "dialog/dialog_state.h"

DialogState gDialog;
void* gInstance = nullptr;

Selection currentSelection() {
    if (gDialog.androidStudioSelected) {
        return Selection::AndroidStudio;
    }
    return gDialog.adtSelected ? Selection::AdtBundle : Selection::Standalone;
}
