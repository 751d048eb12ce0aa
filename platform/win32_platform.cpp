// The Win32 side of platform.h for the registry, the shell and message
// boxes: each function only translates its call.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <shellapi.h>

#include "platform/platform.h"

static_assert(platform::kRegSz == REG_SZ, "REG_SZ");
static_assert(platform::kFileNotFound == ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND");
static_assert(platform::kRegExpandSz == REG_EXPAND_SZ, "REG_EXPAND_SZ");
static_assert(platform::kFoCopy == FO_COPY && platform::kFoDelete == FO_DELETE, "operations");
static_assert(platform::kFofMultiDestFiles == FOF_MULTIDESTFILES, "FOF_MULTIDESTFILES");
static_assert(platform::kFofSilent == FOF_SILENT, "FOF_SILENT");
static_assert(platform::kFofNoConfirmation == FOF_NOCONFIRMATION, "FOF_NOCONFIRMATION");
static_assert(platform::kFofAllowUndo == FOF_ALLOWUNDO, "FOF_ALLOWUNDO");
static_assert(platform::kFofFilesOnly == FOF_FILESONLY, "FOF_FILESONLY");
static_assert(platform::kFofNoConfirmMkdir == FOF_NOCONFIRMMKDIR, "FOF_NOCONFIRMMKDIR");
static_assert(platform::kFofNoErrorUi == FOF_NOERRORUI, "FOF_NOERRORUI");
static_assert(platform::kMbOk == MB_OK && platform::kMbOkCancel == MB_OKCANCEL, "buttons");
static_assert(platform::kMbSetForeground == MB_SETFOREGROUND, "MB_SETFOREGROUND");
static_assert(platform::kIdOk == IDOK && platform::kIdCancel == IDCANCEL, "answers");
static_assert(sizeof(wchar_t) == 2, "UTF-16 wide characters");

namespace platform {

RegistryKey::~RegistryKey() {
    if (handle_ != nullptr) {
        RegCloseKey(static_cast<HKEY>(handle_));
    }
}

long RegistryKey::open(const RegistryKey* parent, const wchar_t* subkey, bool view64) {
    HKEY opened = nullptr;
    const HKEY base = parent != nullptr ? static_cast<HKEY>(parent->handle_) : HKEY_LOCAL_MACHINE;
    const REGSAM access = KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : 0);
    const LONG status = RegOpenKeyExW(base, subkey, 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        if (handle_ != nullptr) {
            RegCloseKey(static_cast<HKEY>(handle_));
        }
        handle_ = opened;
    }
    return status;
}

long RegistryKey::create(const wchar_t* subkey, bool view64) {
    HKEY made = nullptr;
    const REGSAM access = KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : 0);
    const LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, 0, access,
                                        nullptr, &made, nullptr);
    if (status == ERROR_SUCCESS) {
        if (handle_ != nullptr) {
            RegCloseKey(static_cast<HKEY>(handle_));
        }
        handle_ = made;
    }
    return status;
}

long RegistryKey::query(const wchar_t* name, std::uint32_t* type, void* data,
                        std::uint32_t* size) const {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    const LONG status = RegQueryValueExW(static_cast<HKEY>(handle_), name, nullptr, &valueType,
                                         static_cast<BYTE*>(data), &valueSize);
    *type = valueType;
    *size = valueSize;
    return status;
}

long RegistryKey::setString(const wchar_t* name, const void* data, std::uint32_t size) const {
    return RegSetValueExW(static_cast<HKEY>(handle_), name, 0, REG_SZ,
                          static_cast<const BYTE*>(data), size);
}

long RegistryKey::deleteValue(const wchar_t* name) const {
    return RegDeleteValueW(static_cast<HKEY>(handle_), name);
}

bool RegistryKey::valueName(std::uint32_t index, wchar_t* name, std::size_t capacity) const {
    DWORD length = static_cast<DWORD>(capacity);
    return RegEnumValueW(static_cast<HKEY>(handle_), index, name, &length, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS;
}

bool deleteRegistryKey(const wchar_t* subkey, bool view64) {
    return RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subkey, view64 ? KEY_WOW64_64KEY : 0, 0) ==
           ERROR_SUCCESS;
}

std::size_t expandEnvironmentStrings(const wchar_t* text, wchar_t* out, std::size_t capacity) {
    return ExpandEnvironmentStringsW(text, out, static_cast<DWORD>(capacity));
}

int shellFileOperation(Window owner, unsigned operation, const wchar_t* from, const wchar_t* to,
                       unsigned flags, bool* anyAborted) {
    SHFILEOPSTRUCTW op = {};
    op.hwnd = static_cast<HWND>(owner);
    op.wFunc = operation;
    op.pFrom = from;
    op.pTo = to;
    op.fFlags = static_cast<FILEOP_FLAGS>(flags);
    op.lpszProgressTitle = nullptr;
    op.hNameMappings = nullptr;
    const int result = SHFileOperationW(&op);
    *anyAborted = op.fAnyOperationsAborted != FALSE;
    return result;
}

std::uint32_t lastError() {
    return GetLastError();
}

void debugOutput(const wchar_t* text) {
    OutputDebugStringW(text);
}

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
    return MessageBoxW(static_cast<HWND>(owner), text, caption, type);
}

}  // namespace platform
