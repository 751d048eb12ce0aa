// The Win32 side of platform.h: each function only translates its call.
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
static_assert(platform::kRegExpandSz == REG_EXPAND_SZ, "REG_EXPAND_SZ");
static_assert(platform::kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY, "directory attribute");
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

RegKey localMachine() {
    return reinterpret_cast<RegKey>(HKEY_LOCAL_MACHINE);
}

long regOpenKey(RegKey parent, const wchar_t* subkey, bool view64, RegKey* key) {
    HKEY opened = nullptr;
    const REGSAM access = KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : 0);
    const LONG status = RegOpenKeyExW(reinterpret_cast<HKEY>(parent), subkey, 0, access, &opened);
    *key = reinterpret_cast<RegKey>(opened);
    return status;
}

long regQueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                   std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    const LONG status = RegQueryValueExW(reinterpret_cast<HKEY>(key), name, nullptr, &valueType,
                                         static_cast<BYTE*>(data), &valueSize);
    *type = valueType;
    *size = valueSize;
    return status;
}

long regSetString(RegKey key, const wchar_t* name, const void* data, std::uint32_t size) {
    return RegSetValueExW(reinterpret_cast<HKEY>(key), name, 0, REG_SZ,
                          static_cast<const BYTE*>(data), size);
}

void regCloseKey(RegKey key) {
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

namespace {
void toEntry(const WIN32_FIND_DATAW& data, FindEntry* entry) {
    entry->attributes = data.dwFileAttributes;
    static_assert(sizeof(entry->name) == sizeof(data.cFileName), "file name size");
    CopyMemory(entry->name, data.cFileName, sizeof(entry->name));
}
}  // namespace

FindHandle findFirst(const wchar_t* pathOrPattern, FindEntry* entry) {
    WIN32_FIND_DATAW data;
    const HANDLE handle = FindFirstFileW(pathOrPattern, &data);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    toEntry(data, entry);
    return handle;
}

bool findNext(FindHandle handle, FindEntry* entry) {
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(handle, &data)) {
        return false;
    }
    toEntry(data, entry);
    return true;
}

void findClose(FindHandle handle) {
    FindClose(handle);
}

bool createDirectory(const wchar_t* path) {
    return CreateDirectoryW(path, nullptr) != 0;
}

std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity) {
    return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity));
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

void debugOutput(const wchar_t* text) {
    OutputDebugStringW(text);
}

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
    return MessageBoxW(static_cast<HWND>(owner), text, caption, type);
}

}  // namespace platform
