// A small UI-automation helper for the end-to-end tests: it finds the
// program's windows and drives them by sending messages to their handles,
// the way UI automation does on Windows. Output is UTF-8, one fact a line.
//
//   uiauto wait-msgbox TIMEOUT_MS     prints the handle of a message box
//   uiauto wait-dialog ID TIMEOUT_MS  prints the handle of a dialog that has control ID
//   uiauto wait-gone HWND TIMEOUT_MS  waits until the window is gone
//   uiauto read HWND                  caption, then every child control
//   uiauto click HWND ID              presses a button (BM_CLICK, posted)
//   uiauto click-sync HWND ID         presses a button and waits until it was handled
//   uiauto paint HWND                 paints the window now (for screenshots)
//   uiauto close HWND                 the close button of the caption (SC_CLOSE)
//   uiauto browse-pick PATH TIMEOUT_MS
//                                     selects PATH (C:\dir\...) in the shell folder
//                                     browser, checks the selection, presses OK and
//                                     waits until the browser has closed
//   uiauto wait-browser TIMEOUT_MS    prints the handle of the folder browser
//   uiauto browse-cancel TIMEOUT_MS   presses Cancel in the folder browser and waits
//                                     until it has closed
//   uiauto count-windows CAPTION      visible top-level windows with that caption
//
// Exit status 0 on success, 1 when a wait timed out, a window was missing or
// a path could not be selected (the last line then says why).
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

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
            case L'\r':
                result += L"\\r";
                break;
            case L'\n':
                result += L"\\n";
                break;
            case L'\t':
                result += L"\\t";
                break;
            case L'\\':
                result += L"\\\\";
                break;
            default:
                result += c;
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
    swprintf(text, 32, L"%llx",
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
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

// ---------------------------------------------------------------------------
// The shell folder browser (a #32770 dialog that holds a SysTreeView32).
//
// Picking a path: the path is handed to the browser with BFFM_SETSELECTIONW,
// which lets the browser parse it and expand its own lazily filled tree along
// the way. The tree's selection is then read back and compared with the path,
// level by level; when it still does not match after a second try, the tree
// is walked by item text instead (expanding each level and waiting for the
// wanted child). OK is pressed only after the selection is confirmed, and the
// command waits until the browser has closed.
//
// Messages whose parameters point to memory are not marshalled between
// processes, so such parameters are placed in the browser's own process. The
// structures written there use this program's layout: uiauto must have the
// bitness of the program that shows the browser.

// Deadline for one wait; the clock is GetTickCount, which wraps safely in
// unsigned arithmetic.
class Deadline {
public:
    explicit Deadline(DWORD ms) : start_(GetTickCount()), ms_(ms) {}
    bool passed() const { return GetTickCount() - start_ > ms_; }
    DWORD remaining() const {
        const DWORD elapsed = GetTickCount() - start_;
        return elapsed >= ms_ ? 0 : ms_ - elapsed;
    }

private:
    DWORD start_;
    DWORD ms_;
};

HWND findTree(HWND browser) {
    HWND tree = FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    // Some browsers nest the tree one level deeper.
    for (HWND child = GetWindow(browser, GW_CHILD); child != nullptr && tree == nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        tree = FindWindowExW(child, nullptr, L"SysTreeView32", nullptr);
    }
    return tree;
}

bool isFolderBrowser(HWND window) {
    return IsWindowVisible(window) && className(window) == L"#32770" && findTree(window) != nullptr;
}

// Waits until the window is destroyed or hidden.
bool waitGone(HWND window, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (deadline.passed()) {
            return false;
        }
        Sleep(50);  // polling interval, bounded by the deadline
    }
    return true;
}

bool sameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

bool containsText(const std::wstring& text, const std::wstring& part) {
    std::wstring upperText = text;
    std::wstring upperPart = part;
    CharUpperBuffW(&upperText[0], static_cast<DWORD>(upperText.size()));
    CharUpperBuffW(&upperPart[0], static_cast<DWORD>(upperPart.size()));
    return upperText.find(upperPart) != std::wstring::npos;
}

bool isDriveName(const std::wstring& part) {
    return part.size() == 2 && part[1] == L':' &&
           ((part[0] >= L'A' && part[0] <= L'Z') || (part[0] >= L'a' && part[0] <= L'z'));
}

// A tree item stands for a part of the path when its text is that part; a
// drive item's text only contains the drive ("Label (C:)", " (C:)").
bool itemMatches(const std::wstring& text, const std::wstring& part) {
    if (isDriveName(part)) {
        return sameText(text, part) || containsText(text, L"(" + part + L")");
    }
    return sameText(text, part);
}

std::vector<std::wstring> splitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The browser of another process, with a page of memory in that process.
class Browser {
public:
    Browser(HWND dialog, DWORD messageTimeoutMs)
        : dialog_(dialog), tree_(findTree(dialog)), messageTimeoutMs_(messageTimeoutMs) {}
    ~Browser() {
        if (remote_ != nullptr)
            VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        if (process_ != nullptr)
            CloseHandle(process_);
    }
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // Empty on success, else what went wrong.
    std::wstring open(size_t bytes) {
        if (tree_ == nullptr)
            return L"no tree";
        DWORD processId = 0;
        GetWindowThreadProcessId(tree_, &processId);
        process_ = OpenProcess(
            PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
            FALSE, processId);
        if (process_ == nullptr)
            return L"cannot open process";
        BOOL ownWow64 = FALSE;
        BOOL theirWow64 = FALSE;
        if (IsWow64Process(GetCurrentProcess(), &ownWow64) &&
            IsWow64Process(process_, &theirWow64) && ownWow64 != theirWow64) {
            return L"bitness differs from the browser's process";
        }
        size_ = bytes < 4096 ? 4096 : bytes;
        remote_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, size_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (remote_ == nullptr)
            return L"cannot allocate memory in process";
        return L"";
    }

    LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                 messageTimeoutMs_, &result)) {
            return 0;
        }
        return static_cast<LRESULT>(result);
    }

    HTREEITEM next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            send(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM root() const { return next(nullptr, TVGN_ROOT); }
    HTREEITEM caret() const { return next(nullptr, TVGN_CARET); }

    void expand(HTREEITEM item) const {
        // The first expansion notifies the browser (TVN_ITEMEXPANDING), which
        // fills in the children; later ones change nothing.
        send(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }

    void select(HTREEITEM item) const {
        send(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }

    std::wstring text(HTREEITEM item) const {
        const size_t textOffset = 256;
        const int textChars = 260;
        TVITEMW data = {};
        data.mask = TVIF_TEXT | TVIF_HANDLE;
        data.hItem = item;
        data.pszText = reinterpret_cast<wchar_t*>(remote_ + textOffset);
        data.cchTextMax = textChars;
        const wchar_t empty = 0;
        if (!WriteProcessMemory(process_, remote_, &data, sizeof(data), nullptr) ||
            !WriteProcessMemory(process_, data.pszText, &empty, sizeof(empty), nullptr) ||
            send(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_)) == 0 ||
            !ReadProcessMemory(process_, remote_, &data, sizeof(data), nullptr) ||
            data.pszText == nullptr) {
            return L"";
        }
        // The control may point pszText at its own copy instead of filling ours.
        wchar_t buffer[textChars + 1] = {};
        ReadProcessMemory(process_, data.pszText, buffer, sizeof(wchar_t) * textChars, nullptr);
        buffer[textChars] = 0;
        return buffer;
    }

    // Texts from the selected item up to the root, the selected item first.
    std::vector<std::wstring> selectedChain() const {
        std::vector<std::wstring> chain;
        for (HTREEITEM item = caret(); item != nullptr; item = next(item, TVGN_PARENT)) {
            chain.push_back(text(item));
        }
        return chain;
    }

    // Whether the selected item is the folder that the parts name.
    bool selectionIs(const std::vector<std::wstring>& parts) const {
        const std::vector<std::wstring> chain = selectedChain();
        if (parts.empty() || chain.size() < parts.size())
            return false;
        for (size_t i = 0; i < parts.size(); ++i) {
            if (!itemMatches(chain[i], parts[parts.size() - 1 - i]))
                return false;
        }
        return true;
    }

    // Hands the path to the browser: BFFM_SETSELECTIONW with a string.
    void setSelection(const std::wstring& path) const {
        const size_t offset = 1024;
        const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
        if (offset + bytes > size_ ||
            !WriteProcessMemory(process_, remote_ + offset, path.c_str(), bytes, nullptr)) {
            return;
        }
        send(dialog_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote_ + offset));
    }

    HTREEITEM matchingChild(HTREEITEM parent, const std::wstring& part) const {
        for (HTREEITEM child = next(parent, TVGN_CHILD); child != nullptr;
             child = next(child, TVGN_NEXT)) {
            if (itemMatches(text(child), part))
                return child;
        }
        return nullptr;
    }

    // The first item below root, breadth first and at most `depth` levels
    // down, that matches; the levels are expanded on the way.
    HTREEITEM matchingBelow(HTREEITEM root, const std::wstring& part, int depth) const {
        std::vector<HTREEITEM> level{root};
        for (int d = 0; d < depth && !level.empty(); ++d) {
            std::vector<HTREEITEM> below;
            for (HTREEITEM parent : level) {
                expand(parent);
                for (HTREEITEM child = next(parent, TVGN_CHILD); child != nullptr;
                     child = next(child, TVGN_NEXT)) {
                    if (itemMatches(text(child), part))
                        return child;
                    below.push_back(child);
                }
            }
            level.swap(below);
        }
        return nullptr;
    }

    // Walks the tree by item text: the drive is looked for up to three levels
    // below the root (desktop, computer, drive); every later part among the
    // children of the one before. Children that a browser fills in later are
    // waited for until the deadline. Empty on success, else the part that was
    // not found.
    std::wstring walk(const std::vector<std::wstring>& parts, const Deadline& deadline) const {
        HTREEITEM item = root();
        for (size_t i = 0; i < parts.size(); ++i) {
            HTREEITEM match = nullptr;
            for (;;) {
                if (i == 0) {
                    match = matchingBelow(item, parts[i], 3);
                } else {
                    expand(item);
                    match = matchingChild(item, parts[i]);
                }
                if (match != nullptr || deadline.passed())
                    break;
                Sleep(50);  // polling interval, bounded by the deadline
            }
            if (match == nullptr)
                return parts[i];
            item = match;
            select(item);
        }
        return L"";
    }

private:
    HWND dialog_;
    HWND tree_;
    DWORD messageTimeoutMs_;
    HANDLE process_ = nullptr;
    char* remote_ = nullptr;
    size_t size_ = 0;
};

std::wstring joined(const std::vector<std::wstring>& chain) {
    std::wstring result;
    for (size_t i = chain.size(); i-- > 0;) {
        result += escaped(chain[i]);
        if (i > 0)
            result += L"\t";
    }
    return result;
}

// Waits for the browser and for its tree to hold its root item.
HWND waitBrowser(const Deadline& deadline) {
    HWND dialog = waitFor(isFolderBrowser, deadline.remaining());
    if (dialog == nullptr)
        return nullptr;
    HWND tree = findTree(dialog);
    DWORD_PTR root = 0;
    while (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, SMTO_ABORTIFHUNG,
                                deadline.remaining() + 1, &root) ||
           root == 0) {
        if (deadline.passed())
            return nullptr;
        Sleep(50);  // polling interval, bounded by the deadline
    }
    return dialog;
}

// Selects PATH in the browser, confirms the selection, presses OK and waits
// until the browser has closed. Each of the two waits (for the browser and
// its selection; for it to close) is bounded by timeoutMs.
int browsePick(const std::wstring& path, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    HWND dialog = waitBrowser(deadline);
    if (dialog == nullptr) {
        out(L"timeout");
        return 1;
    }
    const std::vector<std::wstring> parts = splitPath(path);
    if (parts.empty() || !isDriveName(parts[0])) {
        out(L"error\tnot a path that starts with a drive");
        return 1;
    }
    Browser browser(dialog, timeoutMs);
    const std::wstring problem = browser.open(1024 + (path.size() + 1) * sizeof(wchar_t));
    if (!problem.empty()) {
        out(L"error\t" + problem);
        return 1;
    }
    // Wine's browser fails the first hand-over when a folder on the path has
    // not been listed since it last changed (as in a fresh test tree): listing
    // it moves its access time, which the browser apparently compares along
    // with the name. The second hand-over succeeds.
    bool handedOver = false;
    for (int attempt = 0; attempt < 2 && !handedOver; ++attempt) {
        browser.setSelection(path);
        handedOver = browser.selectionIs(parts);
    }
    if (handedOver) {
        out(L"method\tset-selection");
    } else {
        const std::wstring missing = browser.walk(parts, deadline);
        if (!missing.empty()) {
            out(L"not found\t" + missing);
            return 1;
        }
        if (!browser.selectionIs(parts)) {
            out(L"not selected\t" + joined(browser.selectedChain()));
            return 1;
        }
        out(L"method\ttree-walk");
    }
    out(L"selected\t" + joined(browser.selectedChain()));
    HWND ok = GetDlgItem(dialog, IDOK);
    if (ok == nullptr || !IsWindowEnabled(ok)) {
        out(L"OK disabled");
        return 1;
    }
    PostMessageW(ok, BM_CLICK, 0, 0);
    if (!waitGone(dialog, timeoutMs)) {
        out(L"still open");
        return 1;
    }
    out(L"closed");
    return 0;
}

// Presses Cancel and waits until the browser has closed; each wait is bounded
// by timeoutMs.
int browseCancel(DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    HWND dialog = waitBrowser(deadline);
    if (dialog == nullptr) {
        out(L"timeout");
        return 1;
    }
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel == nullptr) {
        out(L"no control");
        return 1;
    }
    PostMessageW(cancel, BM_CLICK, 0, 0);
    if (!waitGone(dialog, timeoutMs)) {
        out(L"still open");
        return 1;
    }
    out(L"cancelled");
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
        return printHandle(waitFor([](HWND window) { return isDialogWith(window, 0xFFFF); },
                                   wcstoul(argv[2], nullptr, 10)));
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
        HWND control =
            GetDlgItem(parseHandle(argv[2]), static_cast<int>(wcstol(argv[3], nullptr, 10)));
        if (control == nullptr) {
            out(L"no control");
            return 1;
        }
        // Posted, so that a modal box the click opens does not block us.
        PostMessageW(control, BM_CLICK, 0, 0);
        out(L"clicked");
        return 0;
    }
    if (command == L"click-sync" && argc == 4) {
        // For buttons that open nothing modal: returns once the click was handled.
        HWND control =
            GetDlgItem(parseHandle(argv[2]), static_cast<int>(wcstol(argv[3], nullptr, 10)));
        DWORD_PTR result = 0;
        if (control == nullptr ||
            !SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &result)) {
            out(L"no control or no answer");
            return 1;
        }
        out(L"clicked");
        return 0;
    }
    if (command == L"paint" && argc == 3) {
        // Paints the window and its children now, so that a screenshot shows them.
        HWND window = parseHandle(argv[2]);
        if (!RedrawWindow(
                window, nullptr, nullptr,
                RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW)) {
            out(L"no window");
            return 1;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
        out(L"painted");
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
    if (command == L"wait-browser" && argc == 3) {
        return printHandle(waitFor(isFolderBrowser, wcstoul(argv[2], nullptr, 10)));
    }
    if (command == L"browse-cancel" && argc == 3) {
        return browseCancel(wcstoul(argv[2], nullptr, 10));
    }
    if (command == L"count-windows" && argc == 3) {
        int count = 0;
        for (HWND window : topLevelWindows()) {
            if (IsWindowVisible(window) && windowText(window) == argv[2])
                ++count;
        }
        out(std::to_wstring(count));
        return 0;
    }
    out(L"unknown command");
    return 2;
}
