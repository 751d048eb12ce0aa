// The process's own defences, set before anything else runs: a DLL loaded by name comes from
// System32 only, never from the program's folder (often Downloads), and junctions and symbolic
// links that non-administrators made are not followed (RedirectionGuard). Both functions are
// looked up at run time: Windows 7 and Vista have the first only with update KB2533623, Windows 8
// brought the second, and only Windows 10 22H2 and later know the redirection trust policy. The
// run goes on without what is missing or refused.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cwchar>

#include "platform/platform.h"

namespace {

// ProcessRedirectionTrustPolicy and PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY, a DWORD of flags
// (bit 0 enforces, bit 1 only audits): older SDK and MinGW headers lack them.
constexpr int kRedirectionTrustPolicy = 16;
struct RedirectionTrustPolicy {
    DWORD flags;
};
constexpr DWORD kEnforceRedirectionTrust = 0x1;
constexpr DWORD kSearchSystem32 = 0x800;
#ifdef LOAD_LIBRARY_SEARCH_SYSTEM32
static_assert(kSearchSystem32 == LOAD_LIBRARY_SEARCH_SYSTEM32, "LOAD_LIBRARY_SEARCH_SYSTEM32");
#endif
#if defined(__MINGW64_VERSION_MAJOR) && __MINGW64_VERSION_MAJOR >= 10
static_assert(ProcessRedirectionTrustPolicy == kRedirectionTrustPolicy,
              "ProcessRedirectionTrustPolicy");
static_assert(sizeof(PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY) == sizeof(RedirectionTrustPolicy),
              "PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY");
#endif

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetProcessMitigationPolicyFunction = BOOL(WINAPI*)(int, PVOID, SIZE_T);

template <typename Function>
Function kernel32Function(const char* name) {
    // Through void (*)(), the one function type that casts to any other without a warning.
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// A call that was missing or refused, on the debugger output; always false.
bool notSet(const wchar_t* name, bool found) {
    const DWORD error = GetLastError();
    wchar_t text[128];
    if (found) {
        std::swprintf(text, 128, L"%ls refused (error %lu): the run goes on without it", name,
                      static_cast<unsigned long>(error));
    } else {
        std::swprintf(text, 128, L"%ls is missing: the run goes on without it", name);
    }
    OutputDebugStringW(text);
    return false;
}

bool searchSystem32Only() {
    const auto set = kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (set != nullptr && set(kSearchSystem32)) {
        return true;
    }
    return notSet(L"SetDefaultDllDirectories", set != nullptr);
}

bool enforceRedirectionTrust() {
    const auto set =
        kernel32Function<SetProcessMitigationPolicyFunction>("SetProcessMitigationPolicy");
    RedirectionTrustPolicy policy = {kEnforceRedirectionTrust};
    if (set != nullptr && set(kRedirectionTrustPolicy, &policy, sizeof policy)) {
        return true;
    }
    return notSet(L"SetProcessMitigationPolicy", set != nullptr);
}

}  // namespace

namespace platform {

bool hardenProcess() {
    const bool dllsFromSystem32 = searchSystem32Only();
    return enforceRedirectionTrust() && dllsFromSystem32;
}

}  // namespace platform
