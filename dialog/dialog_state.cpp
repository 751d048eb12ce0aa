#include "dialog/dialog_state.h"

#include "driver/run_program.h"

DialogState gDialog;

const wchar_t kNotInstalled[] = L"Not installed!";
const wchar_t kAndroidSdkDownloadPage[] = L"https://developer.android.com/sdk/index.html";

namespace {
MessageText gMessage;
}

Selection currentSelection() {
    if (gDialog.androidStudioSelected) {
        return Selection::AndroidStudio;
    }
    return gDialog.adtSelected ? Selection::AdtBundle : Selection::Standalone;
}

int showMessage(const wchar_t* text) {
    copyText(gMessage.text, text);
    return platform::messageBox(nullptr, gMessage.text, kCaption,
                                platform::kMbOk | platform::kMbSetForeground);
}

int showMessageWith(const wchar_t* textTemplate, const wchar_t* argument) {
    formatMessage(gMessage, textTemplate, argument);
    return platform::messageBox(nullptr, gMessage.text, kCaption,
                                platform::kMbOk | platform::kMbSetForeground);
}

void showBrowseError() {
    platform::messageBox(nullptr, L"Error opening browse window", L"ERROR", platform::kMbOk);
}
