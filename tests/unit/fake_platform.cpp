// Log lines: "copy FROM > TO FLAGS", "delete PATH FLAGS" (flags in hex, then
// " owned" when an owner window was given), "mkdir P", "rmdir P",
// "unlink P", "box TEXT|CAPTION|TYPE", "progress created|shown|destroyed",
// "end RESULT", "set NAME".
#include "tests/unit/fake_platform.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "environment/path_buffer.h"

namespace fake {
namespace {

State gState;

std::wstring hex(unsigned value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%x", value);
    return text;
}

// The full path as Windows forms it, lower-cased: separators made one,
// "." and ".." resolved, relative paths taken from C:\Work.
std::wstring canonical(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.rfind(L"\\\\", 0) != 0 && (path.size() < 2 || path[1] != L':')) {
        path = L"C:\\Work\\" + path;
    }
    const bool network = path.rfind(L"\\\\", 0) == 0;
    std::vector<std::wstring> parts;
    std::wstring part;
    for (std::size_t i = network ? 2 : 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            if (part == L"..") {
                if (parts.size() > 1)
                    parts.pop_back();
            } else if (!part.empty() && part != L".") {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += static_cast<wchar_t>(std::towlower(path[i]));
        }
    }
    std::wstring out = network ? L"\\" : L"";
    for (const auto& p : parts) out += (out.empty() && !network ? L"" : L"\\") + p;
    return parts.size() == 1 && !network ? out + L"\\" : out;
}

std::wstring parentOf(const std::wstring& path) {
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

const Node* find(const std::wstring& path) {
    const auto found = gState.nodes.find(canonical(path));
    return found == gState.nodes.end() ? nullptr : &found->second;
}

void add(const std::wstring& path, bool isFolder) {
    const std::wstring key = canonical(path);
    for (std::wstring p = parentOf(key); p.size() > 3; p = parentOf(p)) {
        gState.nodes[p] = Node{true};
    }
    gState.nodes[key] = Node{isFolder};
}

std::vector<std::wstring> subtree(const std::wstring& key) {
    std::vector<std::wstring> keys;
    for (const auto& node : gState.nodes) {
        if (node.first == key || node.first.rfind(key + L"\\", 0) == 0)
            keys.push_back(node.first);
    }
    return keys;
}

std::wstring registryKey(const std::wstring& path) {
    std::wstring key = path;
    for (auto& c : key) c = static_cast<wchar_t>(std::towlower(c));
    return key;
}

platform::FindEntry entryOf(const std::wstring& name, const Node& node) {
    platform::FindEntry entry{};
    entry.attributes = (node.folder ? platform::kAttributeDirectory : 0x20) | node.extraAttributes;
    std::wcsncpy(entry.name, name.c_str(), 259);
    return entry;
}

}  // namespace

State& state() {
    return gState;
}
void reset() {
    gState = State();
}
void folder(const std::wstring& path) {
    add(path, true);
}
void file(const std::wstring& path) {
    add(path, false);
}
bool exists(const std::wstring& path) {
    return find(path) != nullptr;
}

std::vector<std::wstring> list(const std::wstring& folderPath) {
    std::vector<std::wstring> names;
    const std::wstring key = canonical(folderPath);
    for (const auto& path : subtree(key)) {
        if (path != key && parentOf(path) == key)
            names.push_back(path.substr(key.size() + 1));
    }
    return names;
}

void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& text,
              std::uint32_t type, bool raw) {
    gState.registry[registryKey(key)][name] = {type, raw ? text : text + L'\0'};
}

std::wstring value(const std::wstring& key, const std::wstring& name) {
    const auto& values = gState.registry[registryKey(key)];
    const auto found = values.find(name);
    return found == values.end() ? L"<missing>" : found->second.second.c_str();
}

std::size_t valueBytes(const std::wstring& key, const std::wstring& name) {
    return gState.registry[registryKey(key)][name].second.size() * sizeof(wchar_t);
}

std::vector<std::wstring> logOf(const std::wstring& prefix) {
    std::vector<std::wstring> lines;
    for (const auto& line : gState.log) {
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line);
    }
    return lines;
}

}  // namespace fake

namespace platform {

using fake::gState;

RegistryKey::~RegistryKey() {
    delete static_cast<std::wstring*>(handle_);
}

long RegistryKey::open(const RegistryKey* parent, const wchar_t* subkey, bool view64) {
    const std::wstring base = parent != nullptr ? *static_cast<std::wstring*>(parent->handle_)
                                                : std::wstring(view64 ? L"64" : L"32");
    const std::wstring path = fake::registryKey(base + L"\\" + subkey);
    for (const auto& key : gState.registry) {
        if (key.first == path || key.first.rfind(path + L"\\", 0) == 0) {
            delete static_cast<std::wstring*>(handle_);
            handle_ = new std::wstring(path);
            return kSuccess;
        }
    }
    return 2;  // ERROR_FILE_NOT_FOUND
}

long RegistryKey::query(const wchar_t* name, std::uint32_t* type, void* data,
                        std::uint32_t* size) const {
    const auto& values = gState.registry[*static_cast<std::wstring*>(handle_)];
    const auto found = values.find(name);
    if (found == values.end())
        return 2;
    const std::uint32_t bytes =
        static_cast<std::uint32_t>(found->second.second.size() * sizeof(wchar_t));
    const bool fits = bytes <= *size;
    *type = found->second.first;
    *size = bytes;
    if (!fits)
        return 234;  // ERROR_MORE_DATA
    std::memcpy(data, found->second.second.data(), bytes);
    return kSuccess;
}

long RegistryKey::setString(const wchar_t* name, const void* data, std::uint32_t size) const {
    gState.log.push_back(std::wstring(L"set ") + name);
    gState.registry[*static_cast<std::wstring*>(handle_)][name] = {
        kRegSz, std::wstring(static_cast<const wchar_t*>(data), size / sizeof(wchar_t))};
    return kSuccess;
}

FileListing::~FileListing() {
    delete static_cast<std::vector<FindEntry>*>(handle_);
}

bool FileListing::first(const wchar_t* pathOrPattern, FindEntry* entry) {
    std::wstring path = pathOrPattern;
    auto* entries = new std::vector<FindEntry>;
    const bool pattern = path.size() > 4 && path.compare(path.size() - 4, 4, L"\\*.*") == 0;
    if (pattern) {
        path.resize(path.size() - 4);
        if (const fake::Node* folder = fake::find(path); folder != nullptr && folder->folder) {
            entries->push_back(fake::entryOf(L".", *folder));
            entries->push_back(fake::entryOf(L"..", *folder));
            for (const auto& name : fake::list(path)) {
                entries->push_back(fake::entryOf(name, *fake::find(path + L"\\" + name)));
            }
        }
    } else if (const fake::Node* node = fake::find(path)) {
        entries->push_back(fake::entryOf(path.substr(path.rfind(L'\\') + 1), *node));
    }
    delete static_cast<std::vector<FindEntry>*>(handle_);
    handle_ = entries;
    return next(entry);
}

bool FileListing::next(FindEntry* entry) {
    auto* entries = static_cast<std::vector<FindEntry>*>(handle_);
    if (entries == nullptr || entries->empty())
        return false;
    *entry = entries->front();
    entries->erase(entries->begin());
    return true;
}

bool entryAttributes(const wchar_t* path, std::uint32_t* attributes) {
    const fake::Node* node = fake::find(path);
    if (node != nullptr)
        *attributes = fake::entryOf(L"", *node).attributes;
    return node != nullptr;
}

bool createDirectory(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"mkdir ") + path);
    if (!fake::exists(fake::parentOf(fake::canonical(path))))
        return false;
    fake::folder(path);
    return true;
}

bool removeDirectory(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"rmdir ") + path);
    const fake::Node* node = fake::find(path);
    // A read-only attribute (0x1) stands for a link that cannot be removed.
    return node != nullptr && (node->extraAttributes & 0x1) == 0 &&
           gState.nodes.erase(fake::canonical(path)) == 1;
}

bool deleteFile(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"unlink ") + path);
    return gState.nodes.erase(fake::canonical(path)) == 1;
}

std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity) {
    const std::wstring& path = gState.modulePath;
    const std::size_t length = std::min(path.size(), capacity - 1);
    std::wmemcpy(buffer, path.c_str(), length);
    buffer[length] = L'\0';
    return path.size() >= capacity ? capacity : length;
}

bool fileIdentity(const wchar_t* path, FileIdentity* identity) {
    const fake::Node* node = fake::find(path);
    if (node == nullptr)
        return false;
    const std::wstring target = node->leadsTo.empty() ? fake::canonical(path) : node->leadsTo;
    *identity = {1, 0, static_cast<std::uint32_t>(std::hash<std::wstring>()(target))};
    return true;
}

bool fullPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    if (std::wcsncmp(path, L"\\\\.\\", 4) == 0 || std::wcsncmp(path, L"\\\\?\\", 4) == 0) {
        return copyText(out, capacity, path);
    }
    return copyText(out, capacity, fake::canonical(path).c_str());
}

bool finalPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    const fake::Node* node = fake::find(path);
    return node != nullptr &&
           copyText(out, capacity,
                    (L"\\\\?\\" + (node->leadsTo.empty() ? fake::canonical(path) : node->leadsTo))
                        .c_str());
}

bool equalIgnoringCase(const wchar_t* a, const wchar_t* b) {
    return fake::registryKey(a) == fake::registryKey(b);
}

std::size_t expandEnvironmentStrings(const wchar_t* text, wchar_t* out, std::size_t capacity) {
    std::wstring expanded = text;
    const std::size_t at = expanded.find(L"%USERNAME%");
    if (at != std::wstring::npos)
        expanded.replace(at, 10, L"builder-with-a-long-name");
    if (expanded.size() < capacity)
        std::wmemcpy(out, expanded.c_str(), expanded.size() + 1);
    return expanded.size() + 1;
}

int shellFileOperation(Window owner, unsigned operation, const wchar_t* from, const wchar_t* to,
                       unsigned flags, bool* anyAborted) {
    *anyAborted = false;
    const std::wstring source = from;
    gState.log.push_back(
        (operation == kFoCopy ? L"copy " + source + L" > " + to : L"delete " + source) + L" " +
        fake::hex(flags) + (owner != nullptr ? L" owned" : L""));
    const auto failing = gState.shellResults.find(source);
    if (failing != gState.shellResults.end())
        return failing->second;
    const std::wstring key = fake::canonical(source);
    if (gState.nodes.count(key) == 0)
        return 2;
    const auto keys = fake::subtree(key);
    if (operation == kFoDelete) {
        for (const auto& k : keys) gState.nodes.erase(k);
    } else if (std::find(gState.lostCopies.begin(), gState.lostCopies.end(), source) ==
               gState.lostCopies.end()) {
        const std::wstring destination = fake::canonical(to);
        for (const auto& k : keys)
            fake::add(destination + k.substr(key.size()), gState.nodes[k].folder);
    }
    return 0;
}

void debugOutput(const wchar_t* text) {
    gState.debug.push_back(text);
}

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
    gState.log.push_back(std::wstring(L"box ") + text + L"|" + caption + L"|" + fake::hex(type) +
                         (owner != nullptr ? L" owned" : L""));
    if (gState.answers.empty())
        return kIdOk;
    const int answer = gState.answers.front();
    gState.answers.erase(gState.answers.begin());
    return answer;
}

int runMainDialog(void*, const MainDialogHandlers&) {
    gState.log.push_back(L"dialog");
    return 0;
}
void endDialog(Window, int result) {
    gState.log.push_back(L"end " + std::to_wstring(result));
}
void setWindowText(Window, const wchar_t* text) {
    gState.texts[0] = text;
}
void setControlText(Window, int id, const wchar_t* text) {
    gState.texts[id] = text;
}
void enableControl(Window, int id, bool enabled) {
    gState.enabled[id] = enabled;
}
int getCheck(Window, int id) {
    return gState.checks[id];
}
void setCheck(Window, int id, int check) {
    gState.checks[id] = check;
}

ProgressWindow::ProgressWindow(void*, Window) : window_(this) {
    gState.log.push_back(L"progress created");
}
ProgressWindow::~ProgressWindow() {
    gState.log.push_back(L"progress destroyed");
}
void ProgressWindow::showAndPaint() {
    gState.log.push_back(L"progress shown");
}

std::int32_t coInitialize() {
    return gState.coInitializeResult;
}
void coUninitialize() {
    gState.log.push_back(L"co uninitialize");
}

BrowseResult browseForFolder(const wchar_t*, wchar_t* path) {
    if (gState.browseAnswers.empty())
        return BrowseResult::Cancelled;
    const auto answer = gState.browseAnswers.front();
    gState.browseAnswers.erase(gState.browseAnswers.begin());
    std::wcsncpy(path, answer.second.c_str(), 259);
    return answer.first;
}

}  // namespace platform
