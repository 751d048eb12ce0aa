// The least double of platform.h that the unit tests need: a file tree, a registry, and a log of
// every shell, file and window call in order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct Node {
    bool folder;
    std::uint32_t extraAttributes = 0;  // a reparse point shows here
    std::wstring leadsTo;               // a link: where its final path is
};

struct State {
    std::map<std::wstring, Node> nodes;  // by lower-case full path
    std::wstring modulePath = L"C:\\Setup\\Quorvane.exe";
    // "32\KEY\PATH" in lower case -> value name -> (type, data)
    std::map<std::wstring, std::map<std::wstring, std::pair<std::uint32_t, std::wstring>>> registry;
    std::map<std::wstring, int> shellResults;  // by source: a failing call
    std::vector<std::wstring> lostCopies;      // sources whose copy reports 0 but never arrives
    std::vector<std::wstring> log, debug;
    std::vector<int> answers;  // message boxes' answers in order; IDOK when none is left
    std::vector<std::pair<platform::BrowseResult, std::wstring>> browseAnswers;
    std::map<int, bool> enabled;
    std::map<int, int> checks;
    std::map<int, std::wstring> texts;  // 0: the window's caption
    std::int32_t coInitializeResult = 0;
};

State& state();
void reset();
void folder(const std::wstring& path);  // with its parents
void file(const std::wstring& path);    // with its parents
bool exists(const std::wstring& path);
// A value of a "32\..." or "64\..." key, stored with its NUL unless raw.
void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& text,
              std::uint32_t type = platform::kRegSz, bool raw = false);
std::wstring value(const std::wstring& key, const std::wstring& name);  // up to its NUL
std::size_t valueBytes(const std::wstring& key, const std::wstring& name);
std::vector<std::wstring> logOf(const std::wstring& prefix);  // the log lines that start with it

}  // namespace fake
