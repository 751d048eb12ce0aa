// The fixed-size path buffer shared by every part of the program.
#pragma once

#include <cstddef>

constexpr std::size_t kPathChars = 260;

// One NUL-ended path of at most 259 characters.
struct PathBuffer {
    wchar_t text[kPathChars] = {};

    bool empty() const { return text[0] == L'\0'; }
    void clear() { text[0] = L'\0'; }
};

// Copies source into a buffer of the given capacity. Fails, leaving the
// buffer empty, when source does not fit whole.
bool copyText(wchar_t* buffer, std::size_t capacity, const wchar_t* source);

template <std::size_t N>
bool copyText(wchar_t (&buffer)[N], const wchar_t* source) {
    return copyText(buffer, N, source);
}

// A path as the shell's list of one entry: the path, then two NULs.
struct ShellPathList {
    wchar_t text[kPathChars + 1] = {};

    explicit ShellPathList(const PathBuffer& path) { copyText(text, path.text); }
};

// Joins root, one backslash and relative as text, with no normalisation.
// Fails, leaving out empty, when the result does not fit: a path cut short
// can name a different folder.
bool joinPath(PathBuffer& out, const wchar_t* root, const wchar_t* relative);
