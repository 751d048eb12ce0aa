// The Win32 side of the dialog operations in platform.h.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/platform.h"
#include "resources/resource_ids.h"

static_assert(platform::kBstChecked == BST_CHECKED && platform::kBstUnchecked == BST_UNCHECKED,
              "check states");
static_assert(platform::kBnClicked == BN_CLICKED, "BN_CLICKED");

namespace {

// The core's handlers of the one main dialog that runs at a time.
const platform::MainDialogHandlers* gHandlers = nullptr;

// Translates the messages the core handles; everything else is left to the
// platform's default dialog handling.
INT_PTR CALLBACK mainDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return gHandlers->init(dialog) ? TRUE : FALSE;
        case WM_CLOSE:
            return gHandlers->close() ? TRUE : FALSE;
        case WM_COMMAND:
            return gHandlers->command(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        default:
            return FALSE;
    }
}

HWND control(platform::Window dialog, int id) {
    return GetDlgItem(static_cast<HWND>(dialog), id);
}

}  // namespace

namespace platform {

int runMainDialog(void* instance, const MainDialogHandlers& handlers) {
    gHandlers = &handlers;
    const INT_PTR result =
        DialogBoxParamW(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                        mainDialogProcedure, 0);
    gHandlers = nullptr;
    return static_cast<int>(result);
}

ProgressWindow::ProgressWindow(void* instance, Window owner)
    : window_(CreateDialogParamW(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEW(IDD_PROGRESS),
                                 static_cast<HWND>(owner), nullptr, 0)) {}

ProgressWindow::~ProgressWindow() {
    if (window_ != nullptr) {
        DestroyWindow(static_cast<HWND>(window_));
    }
}

void ProgressWindow::showAndPaint() {
    ShowWindow(static_cast<HWND>(window_), SW_SHOWDEFAULT);
    UpdateWindow(static_cast<HWND>(window_));
}

void endDialog(Window dialog, int result) {
    EndDialog(static_cast<HWND>(dialog), result);
}

void setWindowText(Window window, const wchar_t* text) {
    SetWindowTextW(static_cast<HWND>(window), text);
}

void setControlText(Window dialog, int id, const wchar_t* text) {
    SetWindowTextW(control(dialog, id), text);
}

void enableControl(Window dialog, int id, bool enabled) {
    EnableWindow(control(dialog, id), enabled ? TRUE : FALSE);
}

int getCheck(Window dialog, int id) {
    return static_cast<int>(SendMessageW(control(dialog, id), BM_GETCHECK, 0, 0));
}

void setCheck(Window dialog, int id, int state) {
    SendDlgItemMessageW(static_cast<HWND>(dialog), id, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

std::int32_t coInitialize() {
    return CoInitialize(nullptr);
}

void coUninitialize() {
    CoUninitialize();
}

BrowseResult browseForFolder(const wchar_t* title, wchar_t* path) {
    IMalloc* allocator = nullptr;
    if (SHGetMalloc(&allocator) != S_OK) {
        return BrowseResult::AllocatorUnavailable;
    }
    BROWSEINFOW info = {};
    info.hwndOwner = nullptr;
    info.pidlRoot = nullptr;
    info.pszDisplayName = path;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = nullptr;
    info.lParam = 0;
    BrowseResult result = BrowseResult::Cancelled;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (item != nullptr) {
        result = SHGetPathFromIDListW(item, path) ? BrowseResult::Chosen
                                                  : BrowseResult::NoFileSystemPath;
        allocator->Free(item);
    }
    allocator->Release();
    return result;
}

}  // namespace platform
