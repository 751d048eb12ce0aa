#include "driver/command_line.h"

#include <cstddef>
#include <cwchar>

namespace {

wchar_t foldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

// Case-insensitive comparison of at most count characters, stopping at the
// end of either text, as _wcsnicmp does in the "C" locale.
bool startsWithWord(const wchar_t* text, const wchar_t* word, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const wchar_t a = foldAscii(text[i]);
        const wchar_t b = foldAscii(word[i]);
        if (a != b) {
            return false;
        }
        if (a == L'\0') {
            return true;
        }
    }
    return true;
}

}  // namespace

RunOptions scanSwitches(const wchar_t* tail) {
    RunOptions options;
    if (tail == nullptr) {
        return options;
    }
    const wchar_t* mark = std::wcspbrk(tail, L"/-");
    while (mark != nullptr) {
        const wchar_t* word = mark + 1;
        if (startsWithWord(word, L"silence", 7)) {
            options.silent = true;
        } else if (startsWithWord(word, L"install", 7)) {
            options.install = true;
            options.actionGiven = true;
        } else if (startsWithWord(word, L"uninstall", 9)) {
            options.uninstall = true;
            options.actionGiven = true;
        }
        // The next switch is searched from just after the mark, not after
        // the word: "-INSTALL-SILENCE" holds two switches.
        mark = std::wcspbrk(word, L"/-");
    }
    return options;
}
