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
constexpr long kSOk = 0;

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
int shellFileOperation(Window owner, unsigned operation, const wchar_t* from,
                       const wchar_t* to, unsigned flags, bool* anyAborted);

// Text for a debugger, never for a window.
void debugOutput(const wchar_t* text);

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type);

}  // namespace platform
