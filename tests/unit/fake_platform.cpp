#include "tests/unit/fake_platform.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <memory>

#include <gtest/gtest.h>

namespace fake {

namespace {

State gState;

std::wstring lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Keys and paths compare case-insensitively, as on Windows.
std::wstring fold(const std::wstring& path) {
    return lower(path);
}

std::wstring parentOf(const std::wstring& path) {
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool isFolder(const std::wstring& path) {
    return gState.folders.count(fold(path)) != 0;
}
bool isFile(const std::wstring& path) {
    return gState.files.count(fold(path)) != 0;
}

struct Listing {
    std::vector<platform::FindEntry> entries;
    std::size_t next = 0;
};

platform::FindEntry makeEntry(const std::wstring& name, bool folder) {
    platform::FindEntry entry{};
    entry.attributes = folder ? platform::kAttributeDirectory : 0x20;
    std::wcsncpy(entry.name, name.c_str(), 259);
    return entry;
}

struct OpenKey {
    std::wstring path;  // with its view prefix
};

std::vector<std::unique_ptr<OpenKey>> gKeys;
OpenKey gLocalMachine{L"HKLM"};

std::vector<std::wstring> below(const std::wstring& folder) {
    std::vector<std::wstring> result;
    const std::wstring prefix = fold(folder) + L"\\";
    for (const auto* set : {&gState.folders, &gState.files}) {
        for (const auto& path : *set) {
            if (path.compare(0, prefix.size(), prefix) == 0)
                result.push_back(path);
        }
    }
    return result;
}

}  // namespace

State& state() {
    return gState;
}

void reset() {
    gState = State();
    gKeys.clear();
}

void addFolder(const std::wstring& path) {
    for (std::wstring p = path; !p.empty() && p.back() != L':'; p = parentOf(p)) {
        gState.folders.insert(fold(p));
    }
}

void addFile(const std::wstring& path) {
    addFolder(parentOf(path));
    gState.files.insert(fold(path));
}

bool enabled(int id) {
    auto found = gState.controlEnabled.find(id);
    return found == gState.controlEnabled.end() || found->second;
}

bool exists(const std::wstring& path) {
    return isFolder(path) || isFile(path);
}

std::vector<std::wstring> list(const std::wstring& folder) {
    std::vector<std::wstring> names;
    const std::wstring prefix = fold(folder) + L"\\";
    for (const auto& path : below(folder)) {
        const std::wstring rest = path.substr(prefix.size());
        if (rest.find(L'\\') == std::wstring::npos)
            names.push_back(rest);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void setRaw(const std::wstring& key, const std::wstring& name, std::uint32_t type,
            const std::vector<unsigned char>& data) {
    gState.registry[fold(key)][fold(name)] = RegistryValue{type, data};
}

void setString(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    std::vector<unsigned char> data((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(data.data(), text.c_str(), data.size());
    setRaw(key, name, platform::kRegSz, data);
}

bool hasKey(const std::wstring& key) {
    return gState.registry.count(fold(key)) != 0;
}

std::wstring getString(const std::wstring& key, const std::wstring& name) {
    auto k = gState.registry.find(fold(key));
    if (k == gState.registry.end())
        return L"<missing>";
    auto v = k->second.find(fold(name));
    if (v == k->second.end())
        return L"<missing>";
    std::wstring text(v->second.data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(&text[0], v->second.data.data(), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::size_t valueSize(const std::wstring& key, const std::wstring& name) {
    return gState.registry[fold(key)][fold(name)].data.size();
}

}  // namespace fake

namespace platform {

using namespace fake;

RegKey localMachine() {
    return &gLocalMachine;
}

long regOpenKey(RegKey parent, const wchar_t* subkey, bool view64, RegKey* key) {
    auto* from = static_cast<OpenKey*>(parent);
    // A 32-bit program without the view flag works in the 32-bit view.
    std::wstring path = from == &gLocalMachine ? std::wstring(view64 ? L"64\\" : L"32\\") + subkey
                                               : from->path + L"\\" + subkey;
    gState.openedKeys.push_back(path);
    if (!hasKey(path)) {
        // Intermediate keys exist when any key below them does.
        bool any = false;
        for (const auto& entry : gState.registry) {
            if (entry.first.compare(0, path.size() + 1, lower(path) + L"\\") == 0)
                any = true;
        }
        if (!any)
            return 2;  // ERROR_FILE_NOT_FOUND
    }
    gKeys.push_back(std::make_unique<OpenKey>(OpenKey{path}));
    *key = gKeys.back().get();
    ++gState.openKeyCount;
    return kSuccess;
}

long regQueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                   std::uint32_t* size) {
    auto& values = gState.registry[lower(static_cast<OpenKey*>(key)->path)];
    auto value = values.find(lower(name));
    if (value == values.end())
        return 2;
    *type = value->second.type;
    const auto stored = static_cast<std::uint32_t>(value->second.data.size());
    if (stored > *size) {
        *size = stored;
        return 234;  // ERROR_MORE_DATA
    }
    std::memcpy(data, value->second.data.data(), stored);
    *size = stored;
    return kSuccess;
}

long regSetString(RegKey key, const wchar_t* name, const void* data, std::uint32_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    setRaw(static_cast<OpenKey*>(key)->path, name, kRegSz,
           std::vector<unsigned char>(bytes, bytes + size));
    return kSuccess;
}

void regCloseKey(RegKey) {
    --gState.openKeyCount;
}

FindHandle findFirst(const wchar_t* pathOrPattern, FindEntry* entry) {
    std::wstring path = pathOrPattern;
    auto listing = std::make_unique<Listing>();
    const std::wstring wildcard = L"\\*.*";
    if (path.size() >= wildcard.size() &&
        path.compare(path.size() - wildcard.size(), wildcard.size(), wildcard) == 0) {
        const std::wstring folder = path.substr(0, path.size() - wildcard.size());
        if (!isFolder(folder))
            return nullptr;
        listing->entries.push_back(makeEntry(L".", true));
        listing->entries.push_back(makeEntry(L"..", true));
        for (const auto& name : list(folder)) {
            listing->entries.push_back(makeEntry(name, isFolder(folder + L"\\" + name)));
        }
    } else {
        if (!exists(path))
            return nullptr;
        listing->entries.push_back(makeEntry(path.substr(path.rfind(L'\\') + 1), isFolder(path)));
    }
    *entry = listing->entries[0];
    listing->next = 1;
    return listing.release();
}

bool findNext(FindHandle handle, FindEntry* entry) {
    auto* listing = static_cast<Listing*>(handle);
    if (listing->next >= listing->entries.size())
        return false;
    *entry = listing->entries[listing->next++];
    return true;
}

void findClose(FindHandle handle) {
    delete static_cast<Listing*>(handle);
}

bool createDirectory(const wchar_t* path) {
    gState.createdDirectories.push_back(path);
    const std::wstring parent = parentOf(path);
    if (exists(path) || (!parent.empty() && parent.back() != L':' && !isFolder(parent))) {
        return false;
    }
    gState.folders.insert(fold(path));
    return true;
}

std::size_t moduleFileName(wchar_t* buffer, std::size_t capacity) {
    const std::wstring& path = gState.modulePath;
    if (path.size() >= capacity) {
        // Cut and NUL-ended, reporting the capacity, as the real call does.
        std::wmemcpy(buffer, path.c_str(), capacity - 1);
        buffer[capacity - 1] = L'\0';
        return capacity;
    }
    std::wmemcpy(buffer, path.c_str(), path.size() + 1);
    return path.size();
}

int shellFileOperation(Window owner, unsigned operation, const wchar_t* from, const wchar_t* to,
                       unsigned flags, bool* anyAborted) {
    const std::wstring source = from;
    const bool doubleNul = from[source.size() + 1] == L'\0';
    const std::wstring target = to != nullptr ? std::wstring(to) : std::wstring();
    gState.shellCalls.push_back(ShellCall{owner, operation, source, target, flags, doubleNul});
    gState.events.push_back((operation == kFoCopy ? L"copy " : L"delete ") + source);
    *anyAborted = gState.abortedCopies.count(source) != 0;
    if (*anyAborted)
        return 0;
    auto failing = gState.failingCopies.find(source);
    if (failing != gState.failingCopies.end())
        return failing->second;
    if (!exists(source))
        return 2;
    if (operation == kFoCopy) {
        if (isFolder(source)) {
            addFolder(target);
            for (const auto& path : below(source)) {
                const std::wstring copied = fold(target) + path.substr(source.size());
                if (isFolder(path))
                    addFolder(copied);
                else
                    addFile(copied);
            }
        } else {
            addFile(target);
        }
    } else {
        for (const auto& path : below(source)) {
            gState.folders.erase(path);
            gState.files.erase(path);
        }
        gState.folders.erase(fold(source));
        gState.files.erase(fold(source));
    }
    return 0;
}

void debugOutput(const wchar_t* text) {
    gState.debugOutput.push_back(text);
}

int messageBox(Window owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
    gState.messageBoxes.push_back(MessageBoxCall{owner, text, caption, type});
    gState.events.push_back(L"message " + std::wstring(text));
    if (gState.messageBoxAnswers.empty())
        return kIdOk;
    const int answer = gState.messageBoxAnswers.front();
    gState.messageBoxAnswers.erase(gState.messageBoxAnswers.begin());
    return answer;
}

int runMainDialog(void*) {
    return 0;
}

Window createProgressWindow(void*, Window owner) {
    EXPECT_EQ(owner, reinterpret_cast<Window>(0xD1A));
    static std::uintptr_t created = 0x1000;
    auto* window = reinterpret_cast<Window>(++created);
    gState.progressAlive.insert(window);
    return window;
}

void showAndPaint(Window) {
    gState.events.push_back(L"progress shown");
}

void destroyWindow(Window window) {
    gState.progressAlive.erase(window);
    gState.events.push_back(L"progress destroyed");
}

void endDialog(Window, int result) {
    gState.dialogEndedWith = result;
}

void setWindowText(Window, const wchar_t*) {}

void setControlText(Window, int, const wchar_t*) {}

void enableControl(Window, int id, bool isEnabled) {
    gState.controlEnabled[id] = isEnabled;
}

int getCheck(Window, int id) {
    return gState.checks[id];
}

void setCheck(Window, int id, int checkState) {
    gState.checks[id] = checkState;
}

std::int32_t coInitialize() {
    return gState.coInitializeResult;
}

void coUninitialize() {
    ++gState.coUninitializeCalls;
}

BrowseResult browseForFolder(const wchar_t*, wchar_t* path) {
    if (gState.browseAnswers.empty())
        return BrowseResult::Cancelled;
    const auto answer = gState.browseAnswers.front();
    gState.browseAnswers.erase(gState.browseAnswers.begin());
    std::wcsncpy(path, answer.path.c_str(), 259);
    path[259] = L'\0';
    return answer.result;
}

}  // namespace platform
