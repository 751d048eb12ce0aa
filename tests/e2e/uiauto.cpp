// A small UI-automation helper for the end-to-end tests: it finds the
// program's windows and drives them by sending messages to their handles,
// the way UI automation does on Windows. Output is UTF-8, one fact a line.
//
//   uiauto wait-msgbox TIMEOUT_MS     prints the handle of a message box
//   uiauto wait-dialog ID TIMEOUT_MS  prints the handle of a dialog that has control ID
//   uiauto wait-gone HWND TIMEOUT_MS  waits until the window is gone
//   uiauto read HWND                  caption, then every child control
//   uiauto click HWND ID              presses a button (BM_CLICK, posted)
//   uiauto close HWND                 the close button of the caption (SC_CLOSE)
//   uiauto browse-pick PATH TIMEOUT   selects PATH in the folder browser, presses OK
//   uiauto browse-cancel TIMEOUT      presses Cancel in the folder browser
//   uiauto count-windows CAPTION      visible top-level windows with that caption
//
// Exit status 0 on success, 1 when a wait timed out or a window was missing.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

void out(const std::wstring& text) {
    std::wstring line = text + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

// Control characters are escaped so that one control stays on one line.
std::wstring escaped(const std::wstring& text) {
    std::wstring result;
    for (wchar_t c : text) {
        switch (c) {
            case L'\r': result += L"\\r"; break;
            case L'\n': result += L"\\n"; break;
            case L'\t': result += L"\\t"; break;
            case L'\\': result += L"\\\\"; break;
            default: result += c;
        }
    }
    return result;
}

std::wstring windowText(HWND window) {
    // WM_GETTEXT works across processes for every control kind.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                 reinterpret_cast<LPARAM>(&text[0]));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring hex(HWND window) {
    wchar_t text[32];
    swprintf(text, 32, L"%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

HWND parseHandle(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(text, nullptr, 16)));
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool isDialogWith(HWND window, int controlId) {
    return IsWindowVisible(window) && className(window) == L"#32770" &&
           GetDlgItem(window, controlId) != nullptr;
}

bool isFolderBrowser(HWND window) {
    if (!IsWindowVisible(window) || className(window) != L"#32770") {
        return false;
    }
    HWND tree = FindWindowExW(window, nullptr, L"SysTreeView32", nullptr);
    if (tree == nullptr) {
        // Some browsers nest the tree one level deeper.
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr && tree == nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            tree = FindWindowExW(child, nullptr, L"SysTreeView32", nullptr);
        }
    }
    return tree != nullptr;
}

template <typename Match>
HWND waitFor(Match match, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : topLevelWindows()) {
            if (match(window)) {
                return window;
            }
        }
        if (GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(50);  // polling interval, bounded by the timeout above
    }
}

int printHandle(HWND window) {
    if (window == nullptr) {
        out(L"timeout");
        return 1;
    }
    out(hex(window));
    return 0;
}

void readWindow(HWND window) {
    out(L"caption\t" + escaped(windowText(window)));
    out(L"class\t" + className(window));
    out(L"enabled\t" + std::to_wstring(IsWindowEnabled(window) ? 1 : 0));
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const std::wstring kind = className(child);
        std::wstring check = L"-";
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            check = std::to_wstring(SendMessageW(child, BM_GETCHECK, 0, 0));
        }
        out(L"control\t" + std::to_wstring(id) + L"\t" + kind + L"\t" +
            std::to_wstring(IsWindowEnabled(child) ? 1 : 0) + L"\t" +
            std::to_wstring(IsWindowVisible(child) ? 1 : 0) + L"\t" + check + L"\t" +
            escaped(windowText(child)));
    }
}

HWND findTree(HWND browser) {
    HWND tree = FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    for (HWND child = GetWindow(browser, GW_CHILD); child != nullptr && tree == nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        tree = FindWindowExW(child, nullptr, L"SysTreeView32", nullptr);
    }
    return tree;
}

// Reads an item's text from another process through memory of that process.
std::wstring treeItemText(HWND tree, HTREEITEM item, HANDLE process, void* remote) {
    TVITEMW data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TVITEMW));
    data.cchTextMax = 260;
    WriteProcessMemory(process, remote, &data, sizeof(data), nullptr);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    wchar_t text[261] = {};
    ReadProcessMemory(process, data.pszText, text, sizeof(wchar_t) * 260, nullptr);
    return text;
}

std::vector<std::wstring> splitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Walks the browser's tree from the desktop: expands each level and selects
// the child whose text matches the next part of the path ("C:" matches an
// item whose text contains "(C:)").
int browsePick(const std::wstring& path, DWORD timeoutMs) {
    HWND browser = waitFor(isFolderBrowser, timeoutMs);
    if (browser == nullptr) {
        out(L"timeout");
        return 1;
    }
    HWND tree = findTree(browser);
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, processId);
    void* remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);

    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    std::vector<std::wstring> parts = splitPath(path);
    // Below the desktop root, the drives sit under "My Computer"; search the
    // whole expanded tree breadth-first for each part in turn.
    bool ok = item != nullptr;
    for (size_t i = 0; ok && i < parts.size(); ++i) {
        const std::wstring& wanted = parts[i];
        const std::wstring drive = L"(" + wanted + L")";
        std::vector<HTREEITEM> level{item};
        HTREEITEM match = nullptr;
        // Search up to three levels below the current item (desktop ->
        // computer -> drive for the first part, direct children otherwise).
        const int depth = i == 0 ? 3 : 1;
        for (int d = 0; d < depth && match == nullptr; ++d) {
            std::vector<HTREEITEM> next;
            for (HTREEITEM parent : level) {
                SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
                for (HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageW(
                         tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
                     child != nullptr;
                     child = reinterpret_cast<HTREEITEM>(SendMessageW(
                         tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
                    const std::wstring text = treeItemText(tree, child, process, remote);
                    const bool isMatch = _wcsicmp(text.c_str(), wanted.c_str()) == 0 ||
                                         (i == 0 && text.find(drive) != std::wstring::npos);
                    if (isMatch && match == nullptr) {
                        match = child;
                    }
                    next.push_back(child);
                }
            }
            level = next;
        }
        if (match == nullptr) {
            out(L"not found\t" + wanted);
            ok = false;
        } else {
            item = match;
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!ok) {
        return 1;
    }
    out(L"selected\t" + path);
    PostMessageW(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        out(L"usage: uiauto COMMAND ...");
        return 2;
    }
    const std::wstring command = argv[1];
    if (command == L"wait-msgbox" && argc == 3) {
        return printHandle(waitFor(
            [](HWND window) { return isDialogWith(window, 0xFFFF); }, wcstoul(argv[2], nullptr, 10)));
    }
    if (command == L"wait-dialog" && argc == 4) {
        const int id = static_cast<int>(wcstol(argv[2], nullptr, 10));
        return printHandle(waitFor([id](HWND window) { return isDialogWith(window, id); },
                                   wcstoul(argv[3], nullptr, 10)));
    }
    if (command == L"wait-gone" && argc == 4) {
        HWND window = parseHandle(argv[2]);
        const DWORD timeout = wcstoul(argv[3], nullptr, 10);
        const DWORD start = GetTickCount();
        while (IsWindow(window) && IsWindowVisible(window)) {
            if (GetTickCount() - start > timeout) {
                out(L"timeout");
                return 1;
            }
            Sleep(50);
        }
        out(L"gone");
        return 0;
    }
    if (command == L"read" && argc == 3) {
        HWND window = parseHandle(argv[2]);
        if (!IsWindow(window)) {
            out(L"no window");
            return 1;
        }
        readWindow(window);
        return 0;
    }
    if (command == L"click" && argc == 4) {
        HWND control = GetDlgItem(parseHandle(argv[2]), static_cast<int>(wcstol(argv[3], nullptr, 10)));
        if (control == nullptr) {
            out(L"no control");
            return 1;
        }
        // Posted, so that a modal box the click opens does not block us.
        PostMessageW(control, BM_CLICK, 0, 0);
        out(L"clicked");
        return 0;
    }
    if (command == L"close" && argc == 3) {
        PostMessageW(parseHandle(argv[2]), WM_SYSCOMMAND, SC_CLOSE, 0);
        out(L"closed");
        return 0;
    }
    if (command == L"browse-pick" && argc == 4) {
        return browsePick(argv[2], wcstoul(argv[3], nullptr, 10));
    }
    if (command == L"browse-cancel" && argc == 3) {
        HWND browser = waitFor(isFolderBrowser, wcstoul(argv[2], nullptr, 10));
        if (browser == nullptr) {
            out(L"timeout");
            return 1;
        }
        PostMessageW(GetDlgItem(browser, IDCANCEL), BM_CLICK, 0, 0);
        out(L"cancelled");
        return 0;
    }
    if (command == L"count-windows" && argc == 3) {
        int count = 0;
        for (HWND window : topLevelWindows()) {
            if (IsWindowVisible(window) && windowText(window) == argv[2]) ++count;
        }
        out(std::to_wstring(count));
        return 0;
    }
    out(L"unknown command");
    return 2;
}
