// The Win32 side of platform.h for files and folders: each function only
// translates its call.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include "platform/platform.h"

static_assert(platform::kAttributeReadOnly == FILE_ATTRIBUTE_READONLY &&
                  platform::kAttributeHidden == FILE_ATTRIBUTE_HIDDEN,
              "read-only and hidden attributes");
static_assert(platform::kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY, "directory attribute");
static_assert(platform::kAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT, "reparse point");

namespace platform {

namespace {

void toEntry(const WIN32_FIND_DATAW& data, FindEntry* entry) {
    entry->attributes = data.dwFileAttributes;
    static_assert(sizeof(entry->name) == sizeof(data.cFileName), "file name size");
    CopyMemory(entry->name, data.cFileName, sizeof(entry->name));
    entry->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // The reparse tag, where the entry is a reparse point.
    entry->reparseTag =
        (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? data.dwReserved0 : 0;
}

// A handle on a file or folder that follows links (folders need backup
// semantics to be opened at all), closed with the object.
class OpenedEntry {
public:
    explicit OpenedEntry(const wchar_t* path)
        : handle_(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    OpenedEntry(const OpenedEntry&) = delete;
    OpenedEntry& operator=(const OpenedEntry&) = delete;
    ~OpenedEntry() {
        if (opened()) {
            CloseHandle(handle_);
        }
    }
    bool opened() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

FileListing::~FileListing() {
    if (handle_ != nullptr) {
        FindClose(handle_);
    }
}

bool FileListing::first(const wchar_t* pathOrPattern, FindEntry* entry) {
    WIN32_FIND_DATAW data;
    const HANDLE handle = FindFirstFileW(pathOrPattern, &data);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (handle_ != nullptr) {
        FindClose(handle_);
    }
    handle_ = handle;
    ended_ = true;
    toEntry(data, entry);
    return true;
}

bool FileListing::next(FindEntry* entry) {
    WIN32_FIND_DATAW data;
    if (handle_ == nullptr) {
        return false;
    }
    if (!FindNextFileW(handle_, &data)) {
        ended_ = GetLastError() == ERROR_NO_MORE_FILES;
        return false;
    }
    toEntry(data, entry);
    return true;
}

bool entryAttributes(const wchar_t* path, std::uint32_t* attributes, std::uint64_t* size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) {
        return false;
    }
    *attributes = data.dwFileAttributes;
    if (size != nullptr) {
        *size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return true;
}

bool createDirectory(const wchar_t* path) {
    return CreateDirectoryW(path, nullptr) != 0;
}

bool removeDirectory(const wchar_t* path) {
    return RemoveDirectoryW(path) != 0;
}

bool deleteFile(const wchar_t* path) {
    return DeleteFileW(path) != 0;
}

bool moveEntry(const wchar_t* from, const wchar_t* to) {
    return MoveFileExW(from, to, 0) != 0;
}

bool setAttributes(const wchar_t* path, std::uint32_t attributes) {
    // Only the attributes that SetFileAttributesW sets; none at all is "normal".
    constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD settable = attributes & kSettable;
    return SetFileAttributesW(path, settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL) != 0;
}

HeldFolder::~HeldFolder() {
    release();
}

void HeldFolder::release() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

bool HeldFolder::hold(const wchar_t* path, wchar_t* finalPath, std::size_t capacity) {
    // Read access takes part in the sharing checks: without delete sharing,
    // nobody can rename or remove the folder while it is open, nor a folder
    // above it, whose rename would move an open folder.
    const HANDLE handle = CreateFileW(path, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
    handle_ = handle;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    const DWORD length = GetFinalPathNameByHandleW(handle, finalPath, static_cast<DWORD>(capacity),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length != 0 && length < capacity;
}

std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity) {
    return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity));
}

bool fileIdentity(const wchar_t* path, FileIdentity* identity) {
    const OpenedEntry entry(path);
    BY_HANDLE_FILE_INFORMATION information;
    if (!entry.opened() || !GetFileInformationByHandle(entry.get(), &information)) {
        return false;
    }
    identity->volume = information.dwVolumeSerialNumber;
    identity->indexHigh = information.nFileIndexHigh;
    identity->indexLow = information.nFileIndexLow;
    return true;
}

bool fullPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    const DWORD length = GetFullPathNameW(path, static_cast<DWORD>(capacity), out, nullptr);
    return length != 0 && length < capacity;
}

bool finalPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    const OpenedEntry entry(path);
    if (!entry.opened()) {
        return false;
    }
    const DWORD length = GetFinalPathNameByHandleW(entry.get(), out, static_cast<DWORD>(capacity),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length != 0 && length < capacity;
}

bool equalIgnoringCase(const wchar_t* a, const wchar_t* b) {
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace platform
