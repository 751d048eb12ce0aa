// The Windows operations that the portable core needs, in portable types.
// The Win32 layer (platform/win32_*.cpp) implements them for the real
// program; the unit tests link a double instead. Handles are owned by
// objects that close them, so the core never writes a close call.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

using Window = void*;

// Win32 status codes and constants, checked against the SDK in the Win32 layer.
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;
constexpr std::uint32_t kReparseTagNameSurrogate = 0x20000000;
constexpr unsigned kFoCopy = 2;
constexpr unsigned kFoDelete = 3;
constexpr unsigned kFofMultiDestFiles = 0x0001;
constexpr unsigned kFofSilent = 0x0004;
constexpr unsigned kFofNoConfirmation = 0x0010;
constexpr unsigned kFofAllowUndo = 0x0040;
constexpr unsigned kFofFilesOnly = 0x0080;
constexpr unsigned kFofNoConfirmMkdir = 0x0200;
constexpr unsigned kFofNoErrorUi = 0x0400;
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbSetForeground = 0x10000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr std::int32_t kSOk = 0;
constexpr int kBstUnchecked = 0;
constexpr int kBstChecked = 1;
constexpr unsigned kBnClicked = 0;

// A registry key below HKEY_LOCAL_MACHINE, opened with KEY_ALL_ACCESS and
// closed with the object.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // Opens subkey below parent, or below HKEY_LOCAL_MACHINE when parent is
    // null; the 64-bit view flag is added only where asked for.
    long open(const RegistryKey* parent, const wchar_t* subkey, bool view64);
    // Opens subkey below HKEY_LOCAL_MACHINE, making it when it is missing.
    long create(const wchar_t* subkey, bool view64);
    // Raw value data; size is the capacity in bytes on entry and the
    // stored length on return, as RegQueryValueExW reports it.
    long query(const wchar_t* name, std::uint32_t* type, void* data, std::uint32_t* size) const;
    long setString(const wchar_t* name, const void* data, std::uint32_t size) const;
    long deleteValue(const wchar_t* name) const;
    // The name of the index-th value; false past the last one, or when it does not fit.
    bool valueName(std::uint32_t index, wchar_t* name, std::size_t capacity) const;

private:
    void* handle_ = nullptr;
};

// A found entry carries its attributes, name, size and, for a reparse
// point, its tag, as FindFirstFileW gives them.
struct FindEntry {
    std::uint32_t attributes;
    wchar_t name[260];
    std::uint64_t size;
    std::uint32_t reparseTag;
};

// A FindFirstFileW listing, closed with the object.
class FileListing {
public:
    FileListing() = default;
    FileListing(const FileListing&) = delete;
    FileListing& operator=(const FileListing&) = delete;
    ~FileListing();

    // False when nothing matched.
    bool first(const wchar_t* pathOrPattern, FindEntry* entry);
    bool next(FindEntry* entry);
    // After next returned false: true when the listing ran to its end,
    // false when it broke off with an error.
    bool ended() const { return ended_; }

private:
    void* handle_ = nullptr;
    bool ended_ = true;
};

// The attributes of an entry itself (a link is not followed), and its size
// when asked; false when there is no such entry.
bool entryAttributes(const wchar_t* path, std::uint32_t* attributes, std::uint64_t* size = nullptr);
bool createDirectory(const wchar_t* path);
// Remove one link itself, or an empty folder: RemoveDirectoryW and DeleteFileW.
bool removeDirectory(const wchar_t* path);
bool deleteFile(const wchar_t* path);
// Renames an entry itself (MoveFileExW without flags): never onto an existing
// entry, never through a link; it works on read-only files and keeps a hard
// link's other names.
bool moveEntry(const wchar_t* from, const wchar_t* to);
// SetFileAttributesW.
bool setAttributes(const wchar_t* path, std::uint32_t attributes);

// A folder held open without delete sharing, released with the object:
// while it is held, on Windows, neither it nor a folder above it can be renamed, removed
// or replaced by a link. Entries inside it can still be changed.
class HeldFolder {
public:
    HeldFolder() = default;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    ~HeldFolder();

    // Opens the folder at path (links on the way followed); false when it
    // is not a folder or cannot be opened. finalPath receives where it is.
    bool hold(const wchar_t* path, wchar_t* finalPath, std::size_t capacity);
    void release();

private:
    void* handle_ = nullptr;
};

// Deletes subkey below HKEY_LOCAL_MACHINE when it holds no subkey.
bool deleteRegistryKey(const wchar_t* subkey, bool view64);

// One run at a time, on the whole machine: a mutex that only administrators
// can make or hold, released with the object or by release.
class RunLock {
public:
    RunLock() = default;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;
    ~RunLock() { release(); }

    // Waits at most milliseconds for it. False when another run held it all
    // that time. True when it is held, or when no lock that only
    // administrators hold can be had (said on the debugger output): then
    // nobody can make the run wait.
    bool take(std::uint32_t milliseconds);
    void release();

private:
    void* handle_ = nullptr;
};
// The running module's full path; returns its length, 0 on failure, and
// capacity or more when the path did not fit.
std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity);

// Which file-system object a folder is: volume serial number and file
// index, through a handle that follows links. False when it cannot be opened.
struct FileIdentity {
    std::uint32_t volume;
    std::uint32_t indexHigh;
    std::uint32_t indexLow;
};
bool fileIdentity(const wchar_t* path, FileIdentity* identity);
// GetFullPathNameW; false when it fails or the result does not fit.
bool fullPath(const wchar_t* path, wchar_t* out, std::size_t capacity);
// Where an entry really leads (GetFinalPathNameByHandleW on a handle opened
// normally, so links are followed); false when it cannot be told.
bool finalPath(const wchar_t* path, wchar_t* out, std::size_t capacity);
// Case-insensitive ordinal comparison over all of Unicode (CompareStringOrdinal).
bool equalIgnoringCase(const wchar_t* a, const wchar_t* b);
// ExpandEnvironmentStringsW: the characters needed, ending NUL included;
// 0 on failure.
std::size_t expandEnvironmentStrings(const wchar_t* text, wchar_t* out, std::size_t capacity);

// Shell file operation over double-NUL-ended lists. Returns the shell's
// result code; anyAborted reports fAnyOperationsAborted.
int shellFileOperation(Window owner, unsigned operation, const wchar_t* from, const wchar_t* to,
                       unsigned flags, bool* anyAborted);

// GetLastError: the cause of the last call that failed.
std::uint32_t lastError();

// Text for a debugger, never for a window.
void debugOutput(const wchar_t* text);
// DLLs by name from System32 only, and RedirectionGuard; false where a call is missing or refused.
bool hardenProcess();

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type);

// Dialogs. runMainDialog runs template 9 modally with no owner; its
// procedure hands WM_INITDIALOG, WM_CLOSE and WM_COMMAND to these handlers
// and returns their answer; other messages get the default handling.
struct MainDialogHandlers {
    bool (*init)(Window dialog);
    bool (*close)();
    bool (*command)(int id, unsigned notification);
};
int runMainDialog(void* instance, const MainDialogHandlers& handlers);
void endDialog(Window dialog, int result);
void setWindowText(Window window, const wchar_t* text);
void setControlText(Window dialog, int id, const wchar_t* text);
void enableControl(Window dialog, int id, bool enabled);
int getCheck(Window dialog, int id);              // BM_GETCHECK
void setCheck(Window dialog, int id, int state);  // BM_SETCHECK

// The progress window: template 103, owned by owner, with the platform's
// default handling, created hidden and destroyed with the object.
class ProgressWindow {
public:
    ProgressWindow(void* instance, Window owner);
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    ~ProgressWindow();

    void showAndPaint();  // ShowWindow(SW_SHOWDEFAULT), UpdateWindow

private:
    Window window_ = nullptr;
};

std::int32_t coInitialize();  // an HRESULT
void coUninitialize();

enum class BrowseResult { Chosen, Cancelled, NoFileSystemPath, AllocatorUnavailable };
// The shell's folder browser: no owner, desktop root, flags
// BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS. path holds 260 characters.
BrowseResult browseForFolder(const wchar_t* title, wchar_t* path);

}  // namespace platform

// The core's side of the entry: the whole run for one command-line tail,
// called by the platform's wWinMain. Always returns 0.
int runProgram(void* instance, const wchar_t* tail);
