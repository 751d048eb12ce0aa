// The run lock: a mutex in a private namespace whose boundary holds the
// Administrators group, so that no standard user can make it first and hold
// it (squatting a Global\ name would block every installer). Where private
// namespaces are missing (Wine 8 has stubs), a Global\ mutex owned by the
// Administrators group is used, and one that another owner made first is
// not waited for.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "platform/platform.h"

namespace {

const wchar_t kNamespace[] = L"Quorvane";
const wchar_t kMutexInNamespace[] = L"Quorvane\\OneRunAtATime";
const wchar_t kGlobalMutex[] = L"Global\\Quorvane.OneRunAtATime";
// Owned by the Administrators group; only they and SYSTEM may open it.
const wchar_t kAdministratorsOnly[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";

// The security descriptor of kAdministratorsOnly, freed with the object.
struct AdministratorsOnly {
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    AdministratorsOnly() {
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            kAdministratorsOnly, SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr);
    }
    ~AdministratorsOnly() { LocalFree(attributes.lpSecurityDescriptor); }
};

// The process's private namespace, opened once and kept to its end: the
// names in it live only while a handle to it is open.
HANDLE privateNamespace(SECURITY_ATTRIBUTES* attributes) {
    static HANDLE opened = nullptr;
    if (opened != nullptr) {
        return opened;
    }
    HANDLE boundary = CreateBoundaryDescriptorW(kNamespace, 0);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    if (boundary == nullptr) {
        return nullptr;
    }
    if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
        AddSIDToBoundaryDescriptor(&boundary, sid)) {
        opened = CreatePrivateNamespaceW(attributes, boundary, kNamespace);
        if (opened == nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
            opened = OpenPrivateNamespaceW(boundary, kNamespace);
        }
    }
    DeleteBoundaryDescriptor(boundary);
    return opened;
}

bool ownedByAdministrators(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool trusted = IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                         IsWellKnownSid(owner, WinLocalSystemSid);
    LocalFree(descriptor);
    return trusted;
}

// The lock's mutex, or null when none that only administrators hold can be had.
HANDLE openLock() {
    AdministratorsOnly security;
    if (privateNamespace(&security.attributes) != nullptr) {
        return CreateMutexW(&security.attributes, FALSE, kMutexInNamespace);
    }
    HANDLE mutex = CreateMutexW(&security.attributes, FALSE, kGlobalMutex);
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS &&
        !ownedByAdministrators(mutex)) {
        CloseHandle(mutex);
        OutputDebugStringW(
            L"The run lock was made first by a user who is no administrator: "
            L"it is not waited for");
        return nullptr;
    }
    return mutex;
}

}  // namespace

namespace platform {

bool RunLock::take(std::uint32_t milliseconds) {
    release();
    HANDLE mutex = openLock();
    if (mutex == nullptr) {
        OutputDebugStringW(L"No run lock could be had; going on without it");
        return true;
    }
    // An abandoned lock is owned too: the run before was killed, and this run
    // first finishes what the journal names.
    const DWORD waited = WaitForSingleObject(mutex, milliseconds);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return false;
    }
    handle_ = mutex;
    return true;
}

void RunLock::release() {
    if (handle_ != nullptr) {
        ReleaseMutex(static_cast<HANDLE>(handle_));
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

}  // namespace platform
