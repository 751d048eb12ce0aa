// A small UI-automation helper for the end-to-end tests: it finds the
// program's windows and drives them by sending messages to their handles.
//
//   uiauto wait ID MS          the handle of a visible dialog holding control ID
//                              (65535: the text of a message box), once it is painted
//   uiauto read HWND           the window, then each child control, one a line:
//                              id, class, enabled, check state, text as UTF-16 hex
//   uiauto click HWND ID [MS]  posts BM_CLICK to control ID; with MS, waits until
//                              HWND is gone
//   uiauto browse PATH|- MS    in the folder browser: selects PATH (C:\dir\... or a
//                              shell name such as ::{CLSID}), reads the browser as read
//                              does, and presses OK, or Cancel for - or when OK is disabled
//   uiauto hold PATH MS        opens the file PATH with no sharing, says "held", and
//                              keeps it open for MS (or until killed)
//   uiauto lock MS             takes the program's run lock (waiting at most MS), says
//                              "held", and keeps it for MS (or until killed)
//   uiauto move FROM TO        renames FROM to TO (MoveFileExW, no flags): status 0
//                              when it moved, else 1 and "error N"
//
// Exit status 1, with the reason on the last line, when a wait timed out, a
// window was missing or the path could not be selected.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace {

int fail(const char* why) {
    std::printf("%s\n", why);
    return 1;
}

// Sent with a timeout; 0 when the window does not answer.
LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 30000, &result);
    return static_cast<LRESULT>(result);
}

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

void print(HWND window) {
    wchar_t text[4096] = {};  // WM_GETTEXT is marshalled between processes
    send(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    std::printf("%d\t%s\t%d\t%d\t", GetDlgCtrlID(window), classOf(window).c_str(), IsWindowEnabled(window) ? 1 : 0,
                static_cast<int>(send(window, BM_GETCHECK, 0, 0)));
    for (const wchar_t* c = text; *c; ++c) std::printf("%04x", static_cast<unsigned>(*c));
    std::printf("\n");
}

void read(HWND window) {  // the window, then its controls
    print(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) print(child);
}

// Polls every 50 ms until done() or the time is up.
template <typename Done>
bool poll(Done done, DWORD ms) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > ms) return false;
    return true;
}

// A visible top-level dialog that holds a child of that id or class.
HWND waitDialog(int id, const wchar_t* childClass, DWORD ms) {
    HWND found = nullptr;
    auto look = [&] {
        for (HWND w = GetTopWindow(nullptr); w && !found; w = GetWindow(w, GW_HWNDNEXT))
            if (IsWindowVisible(w) && classOf(w) == "#32770" &&
                (childClass ? FindWindowExW(w, nullptr, childClass, nullptr) : GetDlgItem(w, id)))
                found = w;
        return found != nullptr;
    };
    return poll(look, ms) ? found : nullptr;
}

bool waitGone(HWND window, DWORD ms) {
    return poll([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms);
}

// Hands path to the folder browser until its tree's selection moves: Wine's
// browser fails while its tree is being filled, or when a folder on the path
// has not been listed since it last changed (the dialog's answer is always 0).
// The path goes into the browser's process: the pointer is not marshalled.
bool select(HWND browser, const wchar_t* path, DWORD ms) {
    HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
    const LRESULT before = send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    DWORD id = 0;
    GetWindowThreadProcessId(browser, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    void* memory = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    auto moved = [&] {
        send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(memory));
        return send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != before;
    };
    const bool selected = WriteProcessMemory(process, memory, path, (wcslen(path) + 1) * 2, nullptr) && poll(moved, ms);
    VirtualFreeEx(process, memory, 0, MEM_RELEASE);
    CloseHandle(process);
    return selected;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    HWND window = argc > 2 ? reinterpret_cast<HWND>(wcstoull(argv[2], nullptr, 10)) : nullptr;
    const DWORD ms = argc > 2 ? wcstoul(argv[argc - 1], nullptr, 10) : 0;
    if (verb == L"wait" && argc == 4) {
        window = waitDialog(_wtoi(argv[2]), nullptr, ms);
        if (!window) return fail("timeout");
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        send(window, WM_NULL, 0, 0);  // the window has handled the paint when it answers
        std::printf("%llu\n", (unsigned long long)(UINT_PTR)window);
        return 0;
    }
    if (verb == L"read" && argc == 3) {
        if (!IsWindow(window)) return fail("no window");
        read(window);
        return 0;
    }
    if (verb == L"click" && (argc == 4 || argc == 5)) {
        if (!PostMessageW(GetDlgItem(window, _wtoi(argv[3])), BM_CLICK, 0, 0)) return fail("no control");
        return argc == 4 || waitGone(window, ms) ? 0 : fail("still open");
    }
    if (verb == L"browse" && argc == 4) {
        HWND browser = waitDialog(0, WC_TREEVIEWW, ms);
        const bool cancel = wcscmp(argv[2], L"-") == 0;
        if (!browser) return fail("timeout");
        if (!cancel && !select(browser, argv[2], ms)) return fail("not selected");
        // OK may follow the choice a moment later; it stays disabled for a place outside the file system.
        const bool ok = !cancel && poll([&] { return IsWindowEnabled(GetDlgItem(browser, IDOK)) != FALSE; }, 6000);
        read(browser);
        PostMessageW(GetDlgItem(browser, ok ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
        return waitGone(browser, ms) ? 0 : fail("still open");
    }
    if (verb == L"hold" && argc == 4) {
        const HANDLE file = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return fail("not opened");
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(ms);
        CloseHandle(file);
        return 0;
    }
    if (verb == L"lock" && argc == 3) {  // the program's own lock, so that its runs wait for us
        platform::RunLock lock;
        if (!lock.take(ms)) return fail("not taken");
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(ms);
        return 0;
    }
    if (verb == L"move" && argc == 4) {  // as any other program would try it, beside a run
        if (MoveFileExW(argv[2], argv[3], 0)) return 0;
        std::printf("error %lu\n", GetLastError());
        return 1;
    }
    return fail("usage: see the top of uiauto.cpp");
}
