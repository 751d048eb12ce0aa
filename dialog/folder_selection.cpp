#include "dialog/folder_selection.h"

#include "dialog/dialog_state.h"
#include "dialog/messages.h"
#include "environment/root_validation.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

struct BrowseRow {
    const BrowseTexts& texts;
    PathBuffer* destination;
    bool (*validate)(const PathBuffer&);
    int editField;
    bool* valid;
};

BrowseRow rowOf(int button) {
    switch (button) {
        case IDC_NEW_ADT_BROWSE:
            return {kAdtBrowseTexts, &gDialog.newAdtRoot, validateAdtRoot, IDC_NEW_ADT_ROOT_EDIT,
                    &gDialog.adtValid};
        case IDC_NEW_ECLIPSE_BROWSE:
            return {kEclipseBrowseTexts, &gDialog.newEclipseRoot, validateEclipseRoot,
                    IDC_NEW_ECLIPSE_ROOT_EDIT, &gDialog.eclipseValid};
        case IDC_NEW_SDK_BROWSE:
        default:
            return {kSdkBrowseTexts, &gDialog.newSdkRoot, validateSdkRoot, IDC_NEW_SDK_ROOT_EDIT,
                    &gDialog.sdkValid};
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
    if (!selectFolder(row.texts.title, *row.destination)) {
        // Flag, edit field and buffer stay as they were.
        showMessage(row.texts.noFolder);
        return;
    }
    if (row.validate(*row.destination)) {
        platform::setControlText(gDialog.mainWindow, row.editField, row.destination->text);
        *row.valid = true;
        return;
    }
    // The edit field keeps the last valid folder.
    *row.valid = false;
    showMessage(row.texts.notValid, platform::kMbOk, row.destination->text);
}
