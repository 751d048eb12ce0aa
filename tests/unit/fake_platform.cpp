// Log lines: "copy FROM > TO FLAGS", "delete PATH FLAGS" (flags in hex, then " owned" when an owner
// window was given), "mkdir P", "rmdir P", "unlink P", "box TEXT|CAPTION|TYPE", "progress created",
// "progress shown", "progress destroyed", "end RESULT", "set NAME", "co uninitialize", "dialog".
#include "tests/unit/fake_platform.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "environment/path_buffer.h"

namespace fake {
namespace {
State gState;

std::wstring lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}
std::wstring hex(unsigned value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%x", value);
    return text;
}
bool startsWith(const std::wstring& text, const std::wstring& prefix) { return text.rfind(prefix, 0) == 0; }

// The full path as GetFullPathNameW forms it: "/" made "\", "." and ".." resolved, doubled
// separators collapsed, a trailing one kept, relative paths taken below C:\Work.
std::wstring full(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    const bool network = startsWith(path, L"\\\\");
    if (!network && (path.size() < 2 || path[1] != L':')) path = L"C:\\Work\\" + path;
    std::vector<std::wstring> parts;
    std::wstring part;
    for (std::size_t i = network ? 2 : 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != L'\\') {
            part += path[i];
            continue;
        }
        if (part == L".." && parts.size() > 1) parts.pop_back();
        if (!part.empty() && part != L"." && part != L"..") parts.push_back(part);
        part.clear();
    }
    std::wstring out = network ? L"\\" : L"";
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i > 0 || network ? L"\\" : L"") + parts[i];
    return parts.size() == 1 || path.back() == L'\\' ? out + L"\\" : out;
}
// A node's key: the full path, lower case, no trailing separator; "\\.\" and "\\?\" lead to
// the path behind them, as they do on Windows.
std::wstring key(std::wstring path) {
    if (startsWith(path, L"\\\\.\\") || startsWith(path, L"\\\\?\\")) path.erase(0, 4);
    std::wstring k = lower(full(path));
    if (k.size() > 3 && k.back() == L'\\') k.pop_back();
    return k;
}
std::wstring parentOf(const std::wstring& k) { return k.substr(0, std::min(k.size(), k.rfind(L'\\'))); }
Node* find(const std::wstring& path) {
    const auto found = gState.nodes.find(key(path));
    return found == gState.nodes.end() ? nullptr : &found->second;
}
void add(const std::wstring& path, bool folder) {
    const std::wstring k = key(path);
    for (std::wstring p = parentOf(k); p.size() > 2; p = parentOf(p)) gState.nodes.emplace(p, Node{true});
    gState.nodes[k] = Node{folder};
}
// The keys at and below k, in order, and the names just below it.
std::vector<std::wstring> subtree(const std::wstring& k, bool namesBelow = false) {
    std::vector<std::wstring> keys;
    for (const auto& node : gState.nodes) {
        const std::wstring& path = node.first;
        if (!namesBelow && (path == k || startsWith(path, k + L"\\"))) keys.push_back(path);
        if (namesBelow && path != k && parentOf(path) == k) keys.push_back(path.substr(k.size() + 1));
    }
    return keys;
}
platform::FindEntry entryOf(const std::wstring& name, const Node& node) {
    platform::FindEntry entry{(node.folder ? platform::kAttributeDirectory : 0x20) | node.extraAttributes, {}};
    std::wcsncpy(entry.name, name.c_str(), 259);
    return entry;
}
}  // namespace

State& state() { return gState; }
void reset() { gState = State(); }
void folder(const std::wstring& path) { add(path, true); }
void file(const std::wstring& path) { add(path, false); }
bool exists(const std::wstring& path) { return find(path) != nullptr; }
void setValue(const std::wstring& k, const std::wstring& name, const std::wstring& text, std::uint32_t type, bool raw) {
    gState.registry[lower(k)][name] = {type, raw ? text : text + L'\0'};
}
std::wstring value(const std::wstring& k, const std::wstring& name) {
    const auto& values = gState.registry[lower(k)];
    return values.count(name) ? values.at(name).second.c_str() : L"<missing>";
}
std::size_t valueBytes(const std::wstring& k, const std::wstring& name) {
    return gState.registry[lower(k)][name].second.size() * sizeof(wchar_t);
}
std::vector<std::wstring> logOf(const std::wstring& prefix) {
    std::vector<std::wstring> lines;
    for (const auto& line : gState.log)
        if (startsWith(line, prefix)) lines.push_back(line);
    return lines;
}
}  // namespace fake

namespace platform {
using fake::gState;
std::wstring& keyOf(void* handle) { return *static_cast<std::wstring*>(handle); }

RegistryKey::~RegistryKey() { delete static_cast<std::wstring*>(handle_); }
long RegistryKey::open(const RegistryKey* parent, const wchar_t* subkey, bool view64) {
    const std::wstring path = fake::lower((parent ? keyOf(parent->handle_) : view64 ? L"64" : L"32") + L"\\" + subkey);
    if (std::none_of(gState.registry.begin(), gState.registry.end(),
                     [&](const auto& k) { return k.first == path || fake::startsWith(k.first, path + L"\\"); }))
        return 2;  // ERROR_FILE_NOT_FOUND
    delete static_cast<std::wstring*>(handle_);
    handle_ = new std::wstring(path);
    return kSuccess;
}
long RegistryKey::query(const wchar_t* name, std::uint32_t* type, void* data, std::uint32_t* size) const {
    const auto& values = gState.registry[keyOf(handle_)];
    if (!values.count(name)) return 2;
    const auto& stored = values.at(name);
    const std::uint32_t bytes = static_cast<std::uint32_t>(stored.second.size() * sizeof(wchar_t));
    const bool fits = bytes <= *size;
    *type = stored.first;
    *size = bytes;
    if (fits) std::memcpy(data, stored.second.data(), bytes);
    return fits ? kSuccess : 234;  // ERROR_MORE_DATA
}
long RegistryKey::setString(const wchar_t* name, const void* data, std::uint32_t size) const {
    gState.log.push_back(std::wstring(L"set ") + name);
    gState.registry[keyOf(handle_)][name] = {kRegSz,
                                             std::wstring(static_cast<const wchar_t*>(data), size / sizeof(wchar_t))};
    return kSuccess;
}

// Takes the first of the items queued, or else the fallback.
template <typename T>
T takeFirst(std::vector<T>& items, T fallback) {
    if (items.empty()) return fallback;
    fallback = items.front();
    items.erase(items.begin());
    return fallback;
}

FileListing::~FileListing() { delete static_cast<std::vector<FindEntry>*>(handle_); }
bool FileListing::first(const wchar_t* pathOrPattern, FindEntry* entry) {
    std::wstring path = pathOrPattern;
    auto* entries = new std::vector<FindEntry>;
    const bool pattern = path.size() > 4 && path.compare(path.size() - 4, 4, L"\\*.*") == 0;
    if (pattern) path.resize(path.size() - 4);
    const fake::Node* node = fake::find(path);
    if (node && !pattern) entries->push_back(fake::entryOf(path.substr(path.rfind(L'\\') + 1), *node));
    if (node && pattern && node->folder) {
        *entries = {fake::entryOf(L".", *node), fake::entryOf(L"..", *node)};
        for (const auto& name : fake::subtree(fake::key(path), true))
            entries->push_back(fake::entryOf(name, *fake::find(path + L"\\" + name)));
    }
    delete static_cast<std::vector<FindEntry>*>(handle_);
    handle_ = entries;
    return next(entry);
}
bool FileListing::next(FindEntry* entry) {
    auto* entries = static_cast<std::vector<FindEntry>*>(handle_);
    const bool any = !entries->empty();
    *entry = takeFirst(*entries, *entry);
    return any;
}

bool entryAttributes(const wchar_t* path, std::uint32_t* attributes) {
    const fake::Node* node = fake::find(path);
    if (node) *attributes = fake::entryOf(L"", *node).attributes;
    return node != nullptr;
}
bool createDirectory(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"mkdir ") + path);
    if (!fake::exists(fake::parentOf(fake::key(path)) + L"\\")) return false;
    fake::folder(path);
    return true;
}
// A read-only attribute (0x1) stands for a link that cannot be removed.
bool removeDirectory(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"rmdir ") + path);
    const fake::Node* node = fake::find(path);
    return node && (node->extraAttributes & 0x1) == 0 && gState.nodes.erase(fake::key(path)) == 1;
}
bool deleteFile(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"unlink ") + path);
    return gState.nodes.erase(fake::key(path)) == 1;
}
std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity) {
    copyText(buffer, capacity, gState.modulePath.substr(0, capacity - 1).c_str());
    return std::min(gState.modulePath.size(), capacity);
}
// A link's identity and final path are those of where it leads.
std::wstring target(const wchar_t* path) {
    const fake::Node* node = fake::find(path);
    return !node ? L"" : node->leadsTo.empty() ? fake::key(path) : node->leadsTo;
}
bool fileIdentity(const wchar_t* path, FileIdentity* identity) {
    if (fake::exists(path)) *identity = {1, 0, static_cast<std::uint32_t>(std::hash<std::wstring>()(target(path)))};
    return fake::exists(path);
}
bool fullPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    const bool device = std::wcsncmp(path, L"\\\\.\\", 4) == 0 || std::wcsncmp(path, L"\\\\?\\", 4) == 0;
    return copyText(out, capacity, device ? path : fake::full(path).c_str());
}
bool finalPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    return fake::exists(path) && copyText(out, capacity, (L"\\\\?\\" + target(path)).c_str());
}
bool equalIgnoringCase(const wchar_t* a, const wchar_t* b) { return fake::lower(a) == fake::lower(b); }
std::size_t expandEnvironmentStrings(const wchar_t* text, wchar_t* out, std::size_t capacity) {
    std::wstring expanded = text;
    const std::size_t at = expanded.find(L"%USERNAME%");
    if (at != std::wstring::npos) expanded.replace(at, 10, L"builder-with-a-long-name");
    copyText(out, capacity, expanded.substr(0, capacity - 1).c_str());  // a short buffer gets a cut text
    return expanded.size() + 1;
}

int shellFileOperation(Window owner, unsigned operation, const wchar_t* from, const wchar_t* to, unsigned flags,
                       bool* anyAborted) {
    const std::wstring source = from, k = fake::key(source);
    gState.log.push_back((operation == kFoCopy ? L"copy " + source + L" > " + to : L"delete " + source) + L" " +
                         fake::hex(flags) + (owner ? L" owned" : L""));
    *anyAborted = false;
    if (gState.shellResults.count(source)) return gState.shellResults[source];
    if (!gState.nodes.count(k)) return 2;
    const bool lost = std::count(gState.lostCopies.begin(), gState.lostCopies.end(), source) > 0;
    for (const auto& path : fake::subtree(k)) {
        if (operation == kFoDelete) gState.nodes.erase(path);
        if (operation != kFoDelete && !lost)
            fake::add(fake::key(to) + path.substr(k.size()), gState.nodes[path].folder);
    }
    return 0;
}
void debugOutput(const wchar_t* text) { gState.debug.push_back(text); }
int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
    gState.log.push_back(std::wstring(L"box ") + text + L"|" + caption + L"|" + fake::hex(type) +
                         (owner ? L" owned" : L""));
    return takeFirst(gState.answers, kIdOk);
}
int runMainDialog(void*, const MainDialogHandlers&) { return gState.log.push_back(L"dialog"), 0; }
void endDialog(Window, int result) { gState.log.push_back(L"end " + std::to_wstring(result)); }
void setWindowText(Window, const wchar_t* text) { gState.texts[0] = text; }
void setControlText(Window, int id, const wchar_t* text) { gState.texts[id] = text; }
void enableControl(Window, int id, bool enabled) { gState.enabled[id] = enabled; }
int getCheck(Window, int id) { return gState.checks[id]; }
void setCheck(Window, int id, int check) { gState.checks[id] = check; }
ProgressWindow::ProgressWindow(void*, Window) : window_(this) { gState.log.push_back(L"progress created"); }
ProgressWindow::~ProgressWindow() { gState.log.push_back(L"progress destroyed"); }
void ProgressWindow::showAndPaint() { gState.log.push_back(L"progress shown"); }
std::int32_t coInitialize() { return gState.coInitializeResult; }
void coUninitialize() { gState.log.push_back(L"co uninitialize"); }
BrowseResult browseForFolder(const wchar_t*, wchar_t* path) {
    const auto answer = takeFirst(gState.browseAnswers, {BrowseResult::Cancelled, L""});
    if (answer.first != BrowseResult::Cancelled) copyText(path, kPathChars, answer.second.c_str());
    return answer.first;
}
}  // namespace platform
