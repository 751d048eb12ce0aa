// Fixed-size text buffers shared by every part of the program.
#pragma once

#include <cstddef>

constexpr std::size_t kPathChars = 260;
constexpr std::size_t kMessageChars = 1024;

// One NUL-ended path of at most 259 characters.
struct PathBuffer {
    wchar_t text[kPathChars] = {};

    bool empty() const { return text[0] == L'\0'; }
    void clear() { text[0] = L'\0'; }
};

// A message-box text; composition into it is bounded by its size.
struct MessageText {
    wchar_t text[kMessageChars] = {};
};

// Copies source into a buffer of the given capacity. Fails, leaving the
// buffer empty, when source does not fit whole.
bool copyText(wchar_t* buffer, std::size_t capacity, const wchar_t* source);

template <std::size_t N>
bool copyText(wchar_t (&buffer)[N], const wchar_t* source) {
    return copyText(buffer, N, source);
}

// Joins root, one backslash and relative as text, with no normalisation.
// Fails, leaving out empty, when the result does not fit: a path cut short
// can name a different folder.
bool joinPath(PathBuffer& out, const wchar_t* root, const wchar_t* relative);

// Formats template into out, putting argument in place of each "%s". The
// argument is inserted as it stands, so a "%" in a path stays a "%". Fails,
// with the text cut at the buffer's end, when the result does not fit.
bool formatMessage(MessageText& out, const wchar_t* textTemplate, const wchar_t* argument);

// True when both paths name the same folder as Windows compares them: case
// does not matter, nor a trailing separator, nor doubled separators, and
// "/" counts as "\".
bool sameFolder(const wchar_t* a, const wchar_t* b);
