// The Windows operations that the portable core needs, in portable types.
// The Win32 layer (platform/win32_*.cpp) implements them for the real
// program; the unit tests link a double instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

using Window = void*;
using RegKey = void*;
using FindHandle = void*;

// Predefined root key; the Win32 layer maps it to HKEY_LOCAL_MACHINE.
RegKey localMachine();

// Win32 status codes and constants, checked against the SDK in the Win32 layer.
constexpr long kSuccess = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kAttributeDirectory = 0x10;
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

// Registry. The 64-bit view flag is added only where asked for.
long regOpenKey(RegKey parent, const wchar_t* subkey, bool view64, RegKey* key);
// Reads raw value data; size is the capacity in bytes on entry and the
// stored length on return, as RegQueryValueExW reports it.
long regQueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                   std::uint32_t* size);
long regSetString(RegKey key, const wchar_t* name, const void* data, std::uint32_t size);
void regCloseKey(RegKey key);

// Files. A found entry carries its attributes and name as FindFirstFileW
// gives them.
struct FindEntry {
    std::uint32_t attributes;
    wchar_t name[260];
};
// Returns nullptr when nothing matched.
FindHandle findFirst(const wchar_t* pathOrPattern, FindEntry* entry);
bool findNext(FindHandle handle, FindEntry* entry);
void findClose(FindHandle handle);
bool createDirectory(const wchar_t* path);
// The running module's full path; returns its length, 0 on failure, and
// capacity or more when the path did not fit.
std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity);

// Shell file operation over double-NUL-ended lists. Returns the shell's
// result code; anyAborted reports fAnyOperationsAborted.
int shellFileOperation(Window owner, unsigned operation, const wchar_t* from, const wchar_t* to,
                       unsigned flags, bool* anyAborted);

// Text for a debugger, never for a window.
void debugOutput(const wchar_t* text);

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type);

// Dialogs. runMainDialog runs template 9 modally with no owner; its
// procedure hands WM_INITDIALOG, WM_CLOSE and WM_COMMAND to the core's
// handlers in dialog/main_dialog.h and returns their answer.
int runMainDialog(void* instance);
// Template 103, owned by owner, with the platform's default handling; hidden.
Window createProgressWindow(void* instance, Window owner);
void showAndPaint(Window window);  // ShowWindow(SW_SHOWDEFAULT), UpdateWindow
void destroyWindow(Window window);
void endDialog(Window dialog, int result);
void setWindowText(Window window, const wchar_t* text);
void setControlText(Window dialog, int id, const wchar_t* text);
void enableControl(Window dialog, int id, bool enabled);
int getCheck(Window dialog, int id);              // BM_GETCHECK
void setCheck(Window dialog, int id, int state);  // BM_SETCHECK

constexpr int kBstUnchecked = 0;
constexpr int kBstChecked = 1;
constexpr unsigned kBnClicked = 0;

std::int32_t coInitialize();  // an HRESULT
void coUninitialize();

enum class BrowseResult { Chosen, Cancelled, NoFileSystemPath, AllocatorUnavailable };
// The shell's folder browser: no owner, desktop root, flags
// BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS. path holds 260 characters.
BrowseResult browseForFolder(const wchar_t* title, wchar_t* path);

}  // namespace platform
