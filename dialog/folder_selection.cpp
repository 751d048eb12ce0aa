#include "dialog/folder_selection.h"

#include "dialog/dialog_state.h"
#include "environment/root_validation.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

struct BrowseRow {
    int button;
    const wchar_t* title;
    PathBuffer* destination;
    bool (*validate)(const PathBuffer&);
    int editField;
    bool* valid;
    const wchar_t* noFolderText;
    const wchar_t* notValidText;  // "%s" is the chosen folder
};

BrowseRow rowOf(int button) {
    switch (button) {
        case IDC_NEW_ADT_BROWSE:
            return {
                button,
                L"Select the ADT root folder:",
                &gDialog.newAdtRoot,
                validateAdtRoot,
                IDC_NEW_ADT_ROOT_EDIT,
                &gDialog.adtValid,
                L"Click Browse and select a valid ADT root folder!" QUORVANE_ADT_DOWNLOAD_HINT,
                L"The folder \"%s\" is not a valid ADT root folder!" QUORVANE_ADT_DOWNLOAD_HINT};
        case IDC_NEW_ECLIPSE_BROWSE:
            return {button,
                    L"Select the Eclipse root folder:",
                    &gDialog.newEclipseRoot,
                    validateEclipseRoot,
                    IDC_NEW_ECLIPSE_ROOT_EDIT,
                    &gDialog.eclipseValid,
                    L"Click Browse and select a valid Eclipse root folder!",
                    L"The folder \"%s\" is not a valid Eclipse root folder!"};
        case IDC_NEW_SDK_BROWSE:
        default:
            return {IDC_NEW_SDK_BROWSE,
                    L"Select the Android SDK root folder:",
                    &gDialog.newSdkRoot,
                    validateSdkRoot,
                    IDC_NEW_SDK_ROOT_EDIT,
                    &gDialog.sdkValid,
                    L"Click Browse and select a valid Android SDK root folder!",
                    L"The folder \"%s\" is not a valid Android SDK root folder!"};
    }
}

}  // namespace

bool selectFolder(const wchar_t* title, PathBuffer& destination) {
    wchar_t path[kPathChars] = {};
    switch (platform::browseForFolder(title, path)) {
        case platform::BrowseResult::Chosen:
            return copyText(destination.text, path);
        case platform::BrowseResult::AllocatorUnavailable:
            showBrowseError();
            if (gDialog.comStarted) {
                platform::coUninitialize();
                gDialog.comStarted = false;
            }
            return false;
        case platform::BrowseResult::Cancelled:
        case platform::BrowseResult::NoFileSystemPath:
        default:
            return false;
    }
}

void onBrowseButton(int id) {
    const BrowseRow row = rowOf(id);
    if (!selectFolder(row.title, *row.destination)) {
        // Flag, edit field and buffer stay as they were.
        showMessage(row.noFolderText);
        return;
    }
    if (row.validate(*row.destination)) {
        platform::setControlText(gDialog.mainWindow, row.editField, row.destination->text);
        *row.valid = true;
        return;
    }
    // The edit field keeps the last valid folder.
    *row.valid = false;
    showMessageWith(row.notValidText, row.destination->text);
}
