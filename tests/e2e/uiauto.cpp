// A small UI-automation helper for the end-to-end tests: it finds the
// program's windows and drives them by sending messages to their handles.
// Output is UTF-8, one fact a line.
//
//   uiauto wait-msgbox MS             prints the handle of a message box
//   uiauto wait-dialog ID MS          prints the handle of a dialog that has control ID
//   uiauto read HWND                  caption, then every child control
//   uiauto click HWND ID [MS]         posts BM_CLICK; with MS, waits until HWND is gone
//   uiauto click-sync HWND ID         presses a button and waits until it was handled
//   uiauto close HWND                 the close button of the caption (SC_CLOSE)
//   uiauto paint HWND                 paints the window now (for screenshots)
//   uiauto browse-pick PATH MS        in the shell folder browser: reads it, selects
//                                     PATH (C:\dir\...), checks the selection, presses OK
//   uiauto browse-cancel MS           reads the folder browser and presses Cancel
//   uiauto count-windows CAPTION      visible top-level windows with that caption
//
// Exit status 0 on success, 1 when a wait timed out, a window was missing or
// a path could not be selected (the last line then says why).
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

void out(const std::wstring& text) {
    const std::wstring line = text + L"\n";
    const int size = static_cast<int>(line.size());
    std::string utf8(static_cast<size_t>(size) * 3, '\0');
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), size, &utf8[0], size * 3, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(bytes), &written,
              nullptr);
}

// Control characters are escaped so that one control stays on one line.
std::wstring escaped(const std::wstring& text) {
    std::wstring result;
    for (wchar_t c : text) {
        result += c == L'\r'   ? L"\\r"
                  : c == L'\n' ? L"\\n"
                  : c == L'\t' ? L"\\t"
                  : c == L'\\' ? L"\\\\"
                               : std::wstring(1, c);
    }
    return result;
}

std::wstring windowText(HWND window) {
    // WM_GETTEXT works across processes for every control kind.
    std::wstring text(static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, 0);
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// Sent with a timeout; 0 when the window does not answer.
LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)
               ? static_cast<LRESULT>(result)
               : 0;
}

HWND handleArg(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(text, nullptr, 10)));
}

BOOL CALLBACK collectVisible(HWND window, LPARAM list) {
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> visibleWindows() {
    std::vector<HWND> windows;
    EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Polls every 50 ms until a visible top-level window matches or the time is up.
template <typename Match>
HWND waitFor(Match match, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount();; Sleep(50)) {
        for (HWND window : visibleWindows()) {
            if (match(window))
                return window;
        }
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
    }
}

bool waitGone(HWND window, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); IsWindow(window) && IsWindowVisible(window);
         Sleep(50)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
    }
    return true;
}

int fail(const wchar_t* why) {
    out(why);
    return 1;
}

int printHandle(HWND window) {
    if (window == nullptr)
        return fail(L"timeout");
    out(std::to_wstring(reinterpret_cast<UINT_PTR>(window)));
    return 0;
}

void readWindow(HWND window) {
    out(L"caption\t" + escaped(windowText(window)));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = className(child);
        const std::wstring check = _wcsicmp(kind.c_str(), L"Button") == 0
                                       ? std::to_wstring(SendMessageW(child, BM_GETCHECK, 0, 0))
                                       : L"-";
        out(L"control\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + kind + L"\t" +
            (IsWindowEnabled(child) ? L"1\t" : L"0\t") + check + L"\t" +
            escaped(windowText(child)));
    }
}

bool isDialogWith(HWND window, int controlId) {
    return className(window) == L"#32770" && GetDlgItem(window, controlId) != nullptr;
}

// The shell folder browser: a dialog that holds a tree view. Messages whose
// parameters point to memory are not marshalled between processes, so such
// parameters are placed in the browser's own process; uiauto must have the
// bitness of the program that shows the browser.
HWND findTree(HWND browser) {
    return FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
}

// The selected folder as a path: item texts from the selection up to the
// drive, whose item reads "... (C:)"; memory is the page in the browser's process.
std::wstring selectedPath(HANDLE process, char* memory, HWND tree) {
    std::wstring path;
    for (LPARAM item = send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0); item;
         item = send(tree, TVM_GETNEXTITEM, TVGN_PARENT, item)) {
        TVITEMW data = {};
        data.mask = TVIF_TEXT | TVIF_HANDLE;
        data.hItem = reinterpret_cast<HTREEITEM>(item);
        data.pszText = reinterpret_cast<wchar_t*>(memory + 2048);
        data.cchTextMax = MAX_PATH;
        wchar_t text[MAX_PATH + 1] = {};
        // The control may point pszText at its own copy instead of filling ours.
        if (WriteProcessMemory(process, memory, &data, sizeof(data), nullptr) &&
            send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory)) &&
            ReadProcessMemory(process, memory, &data, sizeof(data), nullptr))
            ReadProcessMemory(process, data.pszText, text, sizeof(wchar_t) * MAX_PATH, nullptr);
        const std::wstring name = text;
        const size_t drive = name.find(L":)");
        if (drive != std::wstring::npos && drive > 1 && name[drive - 2] == L'(')
            return name.substr(drive - 1, 2) + path;
        path = L"\\" + name + path;
    }
    return L"";
}

// Hands path to the browser (BFFM_SETSELECTIONW) until the browser shows it
// selected. Wine's browser fails the first hand-over when a folder on the
// path has not been listed since it last changed; a later one succeeds.
bool select(HWND browser, HWND tree, const std::wstring& path) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    char* memory = process ? static_cast<char*>(VirtualAllocEx(
                                 process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
                           : nullptr;
    bool selected = false;
    for (int attempt = 0; memory && attempt < 5 && !selected; ++attempt) {
        WriteProcessMemory(process, memory + 1024, path.c_str(), (path.size() + 1) * 2, nullptr);
        send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(memory + 1024));
        selected = _wcsicmp(selectedPath(process, memory, tree).c_str(), path.c_str()) == 0;
    }
    if (memory)
        VirtualFreeEx(process, memory, 0, MEM_RELEASE);
    if (process)
        CloseHandle(process);
    return selected;
}

// Waits for the browser and for its tree to hold its root item, prints the
// browser's controls, then presses OK (after selecting path) or Cancel.
int browse(const wchar_t* path, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    HWND dialog =
        waitFor([](HWND w) { return className(w) == L"#32770" && findTree(w); }, timeoutMs);
    while (dialog && !send(findTree(dialog), TVM_GETNEXTITEM, TVGN_ROOT, 0)) {
        if (GetTickCount() - start > timeoutMs)
            return fail(L"timeout");
        Sleep(50);
    }
    if (!dialog)
        return fail(L"timeout");
    readWindow(dialog);
    if (path && !select(dialog, findTree(dialog), path))
        return fail(L"not selected");
    PostMessageW(GetDlgItem(dialog, path ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    return waitGone(dialog, timeoutMs) ? 0 : fail(L"still open");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    const DWORD ms = argc > 2 ? wcstoul(argv[argc - 1], nullptr, 10) : 0;
    HWND window = argc > 2 ? handleArg(argv[2]) : nullptr;
    HWND control =
        argc > 3 ? GetDlgItem(window, static_cast<int>(wcstol(argv[3], nullptr, 10))) : nullptr;
    if (verb == L"wait-msgbox" && argc == 3)
        return printHandle(waitFor([](HWND w) { return isDialogWith(w, 0xFFFF); }, ms));
    if (verb == L"wait-dialog" && argc == 4) {
        const int id = static_cast<int>(wcstol(argv[2], nullptr, 10));
        return printHandle(waitFor([id](HWND w) { return isDialogWith(w, id); }, ms));
    }
    if (verb == L"read" && argc == 3) {
        if (!IsWindow(window))
            return fail(L"no window");
        readWindow(window);
        return 0;
    }
    if (verb == L"click" && (argc == 4 || argc == 5)) {
        if (!control)
            return fail(L"no control");
        // Posted, so that a modal window the click opens does not block us.
        PostMessageW(control, BM_CLICK, 0, 0);
        return argc == 4 || waitGone(window, ms) ? 0 : fail(L"still open");
    }
    if (verb == L"click-sync" && argc == 4)  // returns once the click was handled
        return control && (send(control, BM_CLICK, 0, 0), true) ? 0 : fail(L"no control");
    if (verb == L"close" && argc == 3)
        return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : fail(L"no window");
    if (verb == L"paint" && argc == 3) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        send(window, WM_NULL, 0, 0);  // the window has handled the paint when it answers
        return 0;
    }
    if (verb == L"browse-pick" && argc == 4)
        return browse(argv[2], ms);
    if (verb == L"browse-cancel" && argc == 3)
        return browse(nullptr, ms);
    if (verb == L"count-windows" && argc == 3) {
        int count = 0;
        for (HWND w : visibleWindows()) count += windowText(w) == argv[2] ? 1 : 0;
        out(std::to_wstring(count));
        return 0;
    }
    return fail(L"usage: see the comment at the top of uiauto.cpp");
}
