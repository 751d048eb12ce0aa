#include "tests/unit/fake_platform.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <regex>

#include "environment/path_buffer.h"

namespace fake {
namespace {
State gState;

bool startsWith(const std::wstring& text, const std::wstring& prefix) { return text.rfind(prefix, 0) == 0; }
std::wstring lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}
// The full path: "/" made "\", ".." takes the name before it.
std::wstring slashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    for (std::size_t at; (at = path.find(L"\\..\\")) != std::wstring::npos && at > 2;)
        path.erase(path.rfind(L'\\', at - 1), at + 3 - path.rfind(L'\\', at - 1));
    return path;
}
// A node's key: lower case, no trailing separator; "\\.\" and "\\?\" lead to the path behind them.
std::wstring key(std::wstring path) {
    if (startsWith(path, L"\\\\.\\") || startsWith(path, L"\\\\?\\")) path.erase(0, 4);
    path = lower(slashes(path));
    return path.size() > 3 && path.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
}
std::wstring parentOf(const std::wstring& k) { return k.substr(0, std::min(k.size(), k.rfind(L'\\'))); }
const std::wstring& spelling(const std::wstring& k, const Node& node) {
    return node.spelled.empty() ? k : node.spelled;
}
Node* find(const std::wstring& path) {
    const auto found = gState.nodes.find(key(path));
    return found == gState.nodes.end() ? nullptr : &found->second;
}
// A link's identity and final path are those of where it leads.
std::wstring target(const wchar_t* path) {
    return find(path)->leadsTo.empty() ? spelling(key(path), *find(path)) : find(path)->leadsTo;
}
bool below(const std::wstring& k, const std::wstring& folder) { return k == folder || startsWith(k, folder + L"\\"); }
// Counts a call that changes the disk: throws at the one that stops the program, true at the one that fails.
bool failsNow(bool stopHere = true) {
    ++gState.changes;
    if (stopHere && gState.changes == gState.stopAt) throw Stopped{};
    return gState.changes == gState.failAt;
}
// Where a key leads when every link on the way is followed, the first one first, as the shell's copy does.
std::wstring through(const std::wstring& k) {
    for (std::size_t at = k.find(L'\\', 3);; at = k.find(L'\\', at + 1)) {
        const auto found = gState.nodes.find(k.substr(0, at));
        if (found != gState.nodes.end() && !found->second.leadsTo.empty())
            return through(found->second.leadsTo + (at == std::wstring::npos ? L"" : k.substr(at)));
        if (at == std::wstring::npos) return k;
    }
}
platform::FindEntry entryOf(const std::wstring& name, const Node& node) {
    const std::uint32_t attributes = (node.folder ? platform::kAttributeDirectory : 0x20) | node.extraAttributes;
    platform::FindEntry entry{
        attributes, {}, node.size, (attributes & platform::kAttributeReparsePoint) ? node.tag : 0};
    std::wcsncpy(entry.name, name.c_str(), 259);
    return entry;
}
std::wstring hex(unsigned value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%x", value);
    return text;
}
}  // namespace

State& state() { return gState; }
void add(const std::wstring& path, bool folder, std::uint64_t size) {
    const std::wstring k = key(path), spelled = slashes(path).substr(0, k.size());
    for (std::wstring p = parentOf(k); p.size() > 2; p = parentOf(p))
        gState.nodes.emplace(p, Node{}).first->second.spelled = spelled.substr(0, p.size());
    gState.nodes[k] = Node{folder, 0, L"", size};
    gState.nodes[k].spelled = spelled;
}
bool exists(const std::wstring& path) { return find(path) != nullptr; }
Lines withoutBookkeeping() {
    static const std::wregex bookkeeping(LR"(((un)?set Run \d+)|((mkdir|rmdir|attrib) .*\\\.quorvane(\\\d+[-+~][^\\]*)?( 2)?))");
    Lines lines;
    for (const auto& line : gState.log)
        if (!std::regex_match(line, bookkeeping)) lines.push_back(line);
    return lines;
}
void setValue(const std::wstring& k, const std::wstring& name, const std::wstring& text, std::uint32_t type, bool raw) {
    gState.registry[key(k)][name] = {type, raw ? text : text + L'\0'};
}
std::wstring stored(const std::wstring& k, const std::wstring& name) { return gState.registry[key(k)][name].second; }
}  // namespace fake

namespace platform {
using fake::gState;
std::wstring& keyOf(void* handle) { return *static_cast<std::wstring*>(handle); }
// Takes the first of the items queued, or else the fallback.
template <typename T>
T takeFirst(std::vector<T>& items, T fallback) {
    if (items.empty()) return fallback;
    const T first = items.front();
    items.erase(items.begin());
    return first;
}

RegistryKey::~RegistryKey() { delete static_cast<std::wstring*>(handle_); }
long RegistryKey::open(const RegistryKey* parent, const wchar_t* subkey, bool view64) {
    gState.calls.push_back(L"registry");
    const std::wstring path = fake::key((parent ? keyOf(parent->handle_) : view64 ? L"64" : L"32") + L"\\" + subkey);
    if (std::none_of(gState.registry.begin(), gState.registry.end(),
                     [&](const auto& k) { return k.first == path || fake::startsWith(k.first, path + L"\\"); }))
        return 2;                      // ERROR_FILE_NOT_FOUND
    handle_ = new std::wstring(path);  // each key object is opened once
    return kSuccess;
}
long RegistryKey::create(const wchar_t* subkey, bool view64) {
    delete static_cast<std::wstring*>(handle_);
    handle_ = new std::wstring(fake::key((view64 ? L"64\\" : L"32\\") + std::wstring(subkey)));
    gState.registry[keyOf(handle_)];
    return kSuccess;
}
long RegistryKey::query(const wchar_t* name, std::uint32_t* type, void* data, std::uint32_t* size) const {
    const auto& values = gState.registry[keyOf(handle_)];
    if (!values.count(name)) return 2;
    const auto& [storedType, text] = values.at(name);
    const auto bytes = static_cast<std::uint32_t>(text.size() * sizeof(wchar_t));
    const bool fits = bytes <= *size;
    *type = storedType;
    *size = bytes;
    if (fits) std::memcpy(data, text.data(), bytes);
    return fits ? kSuccess : 234;  // ERROR_MORE_DATA
}
long RegistryKey::setString(const wchar_t* name, const void* data, std::uint32_t size) const {
    gState.log.push_back(std::wstring(L"set ") + name);
    const std::wstring text(static_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    if (!gState.refusedWrites.empty() && fake::startsWith(text, gState.refusedWrites)) return 5;
    gState.registry[keyOf(handle_)][name] = {kRegSz, text};
    return kSuccess;
}

long RegistryKey::deleteValue(const wchar_t* name) const {
    gState.log.push_back(std::wstring(L"unset ") + name);
    return gState.registry[keyOf(handle_)].erase(name) ? kSuccess : kFileNotFound;
}
bool RegistryKey::valueName(std::uint32_t index, wchar_t* name, std::size_t capacity) const {
    const auto& values = gState.registry[keyOf(handle_)];
    return index < values.size() && copyText(name, capacity, std::next(values.begin(), index)->first.c_str());
}
bool deleteRegistryKey(const wchar_t* subkey, bool view64) {
    return gState.registry.erase(fake::key((view64 ? L"64\\" : L"32\\") + std::wstring(subkey)));
}

FileListing::~FileListing() { delete static_cast<std::vector<FindEntry>*>(handle_); }
bool FileListing::first(const wchar_t* pathOrPattern, FindEntry* entry) {
    gState.calls.push_back(L"listing");
    std::wstring path = pathOrPattern;
    const bool pattern = path.size() > 4 && path.compare(path.size() - 4, 4, L"\\*.*") == 0;
    if (pattern) path.resize(path.size() - 4);
    const fake::Node* node = fake::find(path);
    auto* entries = new std::vector<FindEntry>;
    const std::wstring k = fake::key(path);
    const auto nameOf = [](const std::wstring& at, const fake::Node& n) {
        const std::wstring& spelled = fake::spelling(at, n);
        return spelled.substr(spelled.rfind(L'\\') + 1);
    };
    if (node && !pattern) entries->push_back(fake::entryOf(nameOf(k, *node), *node));
    if (node && pattern && node->folder && !node->unlisted) {
        *entries = {fake::entryOf(L".", *node), fake::entryOf(L"..", *node)};
        for (const auto& [below, child] : gState.nodes)
            if (fake::parentOf(below) == k && below != k)
                entries->push_back(fake::entryOf(nameOf(below, child), child));
        // A listing that breaks off: a mark after its first entry, where next stops with an error.
        if (node->breaksOff && entries->size() >= 3) entries->insert(entries->begin() + 3, FindEntry{~0u, {}, 0, 0});
    }
    handle_ = entries;  // each listing object is started once
    return next(entry);
}
bool FileListing::next(FindEntry* entry) {
    auto* entries = static_cast<std::vector<FindEntry>*>(handle_);
    ended_ = entries->empty() || entries->front().attributes != ~0u;
    if (!ended_) return false;
    const bool any = !entries->empty();
    *entry = takeFirst(*entries, *entry);
    return any;
}

bool entryAttributes(const wchar_t* path, std::uint32_t* attributes, std::uint64_t* size) {
    gState.calls.push_back(L"attributes");
    if (!fake::exists(path)) return false;
    *attributes = fake::entryOf(L"", *fake::find(path)).attributes;
    if (size) *size = fake::find(path)->size;
    return true;
}
bool createDirectory(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"mkdir ") + path);
    if (fake::failsNow() || fake::exists(path) || !fake::exists(fake::parentOf(fake::key(path)) + L"\\")) return false;
    fake::add(path);
    return true;
}
bool removeDirectory(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"rmdir ") + path);
    const std::wstring k = fake::key(path);
    const fake::Node* node = fake::find(path);
    // Only a link or an empty folder, neither read-only nor held open.
    const bool empty = std::none_of(gState.nodes.begin(), gState.nodes.end(),
                                    [&](const auto& n) { return fake::parentOf(n.first) == k && n.first != k; });
    if (fake::failsNow() || !node || !node->folder || (node->extraAttributes & 0x1) ||
        (node->leadsTo.empty() && !empty) || std::count(gState.held.begin(), gState.held.end(), k))
        return false;
    return gState.nodes.erase(k);
}
bool deleteFile(const wchar_t* path) {
    gState.log.push_back(std::wstring(L"unlink ") + path);
    if (fake::failsNow() || !fake::exists(path) || fake::find(path)->folder ||
        (fake::find(path)->extraAttributes & 0x1))
        return false;
    // An entry that leads elsewhere without showing as a link: the delete goes to what it leads to, as Wine 8's.
    const fake::Node* node = fake::find(path);
    if (node && !node->leadsTo.empty() && (node->extraAttributes & kAttributeReparsePoint) == 0)
        return gState.nodes.erase(node->leadsTo) == 1;
    return gState.nodes.erase(fake::key(path)) == 1;
}
bool moveEntry(const wchar_t* from, const wchar_t* to) {
    gState.log.push_back(std::wstring(L"move ") + from + L" " + to);
    const std::wstring kf = fake::key(from), kt = fake::key(to);
    // Never onto an existing entry, nor a folder held open or one above it.
    const std::wstring parent = fake::parentOf(kt);
    if (fake::failsNow() || !fake::exists(from) || fake::exists(to) || (parent.size() > 2 && !fake::exists(parent)) ||
        std::any_of(gState.held.begin(), gState.held.end(), [&](const std::wstring& h) { return fake::below(h, kf); }))
        return false;
    std::map<std::wstring, fake::Node> moved;
    const std::wstring spelled = fake::slashes(to).substr(0, kt.size());
    for (auto n = gState.nodes.begin(); n != gState.nodes.end();) {
        if (!fake::below(n->first, kf)) {
            ++n;
            continue;
        }
        fake::Node node = n->second;
        if (!node.spelled.empty()) node.spelled = spelled + node.spelled.substr(kf.size());
        moved[kt + n->first.substr(kf.size())] = node;
        n = gState.nodes.erase(n);
    }
    gState.nodes.insert(moved.begin(), moved.end());
    return true;
}
bool setAttributes(const wchar_t* path, std::uint32_t attributes) {
    gState.log.push_back(std::wstring(L"attrib ") + path + L" " + fake::hex(attributes));
    if (fake::failsNow() || !fake::exists(path)) return false;
    auto& extra = fake::find(path)->extraAttributes;
    extra = (extra & ~kAttributeReadOnly) | (attributes & kAttributeReadOnly);
    return true;
}
HeldFolder::~HeldFolder() { release(); }
void HeldFolder::release() {
    if (!handle_) return;
    auto& held = gState.held;
    held.erase(std::find(held.begin(), held.end(), *static_cast<std::wstring*>(handle_)));
    delete static_cast<std::wstring*>(handle_);
    handle_ = nullptr;
}
bool HeldFolder::hold(const wchar_t* path, wchar_t* finalPath, std::size_t capacity) {
    release();
    if (!fake::exists(path) || !fake::find(path)->folder) return false;
    const std::wstring where = fake::target(path);
    handle_ = new std::wstring(fake::key(where));
    gState.held.push_back(fake::key(where));
    return copyText(finalPath, capacity, (L"\\\\?\\" + where).c_str());
}
bool RunLock::take(std::uint32_t milliseconds) {
    gState.calls.push_back(L"lock " + std::to_wstring(milliseconds));
    handle_ = gState.lockHeldElsewhere ? nullptr : &gState;
    return handle_ != nullptr;
}
void RunLock::release() {
    if (handle_) gState.calls.push_back(L"unlock");
    handle_ = nullptr;
}
std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity) {
    gState.calls.push_back(L"module");
    copyText(buffer, capacity, gState.modulePath.substr(0, capacity - 1).c_str());
    return std::min(gState.modulePath.size(), capacity);
}
bool fileIdentity(const wchar_t* path, FileIdentity* identity) {
    if (fake::exists(path))
        *identity = {1, 0, static_cast<std::uint32_t>(std::hash<std::wstring>()(fake::key(fake::target(path))))};
    return fake::exists(path);
}
bool fullPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    return copyText(out, capacity, fake::slashes(path).c_str());
}
bool finalPath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    return fake::exists(path) && copyText(out, capacity, (L"\\\\?\\" + fake::target(path)).c_str());
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
    gState.log.push_back((operation == kFoCopy ? L"copy " + std::wstring(to) : L"delete " + source) + L" " +
                         fake::hex(flags) + (owner ? L" owned" : L""));
    *anyAborted = false;
    if (gState.duringShell) gState.duringShell();
    // Stopped in the middle, a copy has made its first entry.
    const bool stopHere = gState.changes + 1 == gState.stopAt;
    if (fake::failsNow(false)) return 0x4c7;  // ERROR_CANCELLED
    if (gState.shellResults.count(source)) return gState.shellResults[source];
    if (!gState.nodes.count(k)) return 2;
    Lines tree;  // the source and everything below it
    for (const auto& node : gState.nodes)
        if (node.first == k || fake::startsWith(node.first, k + L"\\")) tree.push_back(node.first);
    // Wine's shell delete refuses read-only files, and deletes nothing then.
    if (operation == kFoDelete && std::any_of(tree.begin(), tree.end(), [](const std::wstring& p) {
            return !gState.nodes[p].folder && (gState.nodes[p].extraAttributes & kAttributeReadOnly);
        }))
        return 5;
    if (stopHere && operation == kFoCopy) tree.resize(1);
    for (const auto& path : tree) {
        const fake::Node node = gState.nodes[path];
        if (operation == kFoDelete) {
            // A recursive delete that meets a folder link goes on in what it leads to.
            if (node.folder && !node.leadsTo.empty())
                for (auto n = gState.nodes.begin(); n != gState.nodes.end();)
                    n = fake::startsWith(n->first, node.leadsTo + L"\\") ? gState.nodes.erase(n) : std::next(n);
            gState.nodes.erase(path);
            continue;
        }
        const auto shortFile = gState.shortFiles.find(path);
        if (shortFile != gState.shortFiles.end() && shortFile->second < 0) continue;
        const std::uint64_t size = shortFile != gState.shortFiles.end() ? shortFile->second : node.size;
        const std::wstring wanted = to + fake::spelling(path, node).substr(k.size()),
                           destination = fake::through(fake::key(wanted));
        if (!fake::exists(destination))
            fake::add(destination == fake::key(wanted) ? wanted : destination, node.folder, size);
        if (!node.folder) fake::find(destination)->size = size;  // written into whatever is there
    }
    if (stopHere) throw fake::Stopped{};
    return 0;
}
std::uint32_t lastError() { return 5; }  // ERROR_ACCESS_DENIED
void debugOutput(const wchar_t*) {}
bool hardenProcess() {
    gState.calls.push_back(L"harden");
    return !gState.hardeningRefused;
}
int messageBox(Window, const wchar_t* text, const wchar_t* caption, unsigned type) {
    gState.calls.push_back(L"box");
    gState.log.push_back(std::wstring(L"box ") + text + L"|" + caption + L"|" + fake::hex(type));
    return takeFirst(gState.answers, kIdOk);
}
int runMainDialog(void*, const MainDialogHandlers&) {
    gState.log.push_back(L"dialog");
    if (gState.inDialog) gState.inDialog();
    return 0;
}
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
