// An in-memory stand-in for platform.h: a file tree, both registry views,
// shell operations that act on the tree, and scripted message-box answers.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct ShellCall {
    platform::Window owner;
    unsigned operation;
    std::wstring from;  // the list's first path
    std::wstring to;
    unsigned flags;
    bool fromDoubleNulEnded;
};

struct MessageBoxCall {
    platform::Window owner;
    std::wstring text;
    std::wstring caption;
    unsigned type;
};

struct RegistryValue {
    std::uint32_t type;
    std::vector<unsigned char> data;
};

struct State {
    // Paths without a trailing backslash; a folder is in folders, a file in files.
    std::set<std::wstring> folders;
    std::set<std::wstring> files;
    std::wstring modulePath = L"C:\\Setup\\Quorvane.exe";

    // Keys as "64\SOFTWARE\Android Studio" or "32\SOFTWARE\...".
    std::map<std::wstring, std::map<std::wstring, RegistryValue>> registry;
    std::vector<std::wstring> openedKeys;  // with the view and access asked for
    int openKeyCount = 0;

    std::vector<ShellCall> shellCalls;
    std::map<std::wstring, int> failingCopies;  // source path -> shell result
    std::set<std::wstring> abortedCopies;       // source path -> reports aborted
    std::vector<std::wstring> createdDirectories;
    std::vector<std::wstring> debugOutput;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<int> messageBoxAnswers;  // consumed in order; IDOK when empty

    std::map<int, bool> controlEnabled;  // absent: never set (enabled)
    std::map<int, int> checks;
    int dialogEndedWith = -1;
    std::int32_t coInitializeResult = 0;
    int coUninitializeCalls = 0;

    // Progress windows still alive.
    std::set<platform::Window> progressAlive;
    // Events in order ("progress shown", "message", "copy", "delete", ...).
    std::vector<std::wstring> events;

    struct Browse {
        platform::BrowseResult result;
        std::wstring path;
    };
    std::vector<Browse> browseAnswers;  // consumed in order; Cancelled when empty
};

bool enabled(int id);

State& state();
void reset();

void addFolder(const std::wstring& path);  // with its parents
void addFile(const std::wstring& path);    // with its parents
bool exists(const std::wstring& path);
// The names below folder, one level, sorted.
std::vector<std::wstring> list(const std::wstring& folder);

void setString(const std::wstring& key, const std::wstring& name, const std::wstring& text);
void setRaw(const std::wstring& key, const std::wstring& name, std::uint32_t type,
            const std::vector<unsigned char>& data);
bool hasKey(const std::wstring& key);
// Text of a value up to its first NUL; "<missing>" when absent.
std::wstring getString(const std::wstring& key, const std::wstring& name);
std::size_t valueSize(const std::wstring& key, const std::wstring& name);

}  // namespace fake
