#include "environment/path_buffer.h"

#include <cwchar>
#include <cwctype>

bool copyText(wchar_t* buffer, std::size_t capacity, const wchar_t* source) {
    const std::size_t length = std::wcslen(source);
    if (capacity == 0) {
        return false;
    }
    if (length >= capacity) {
        buffer[0] = L'\0';
        return false;
    }
    std::wmemmove(buffer, source, length + 1);
    return true;
}

bool joinPath(PathBuffer& out, const wchar_t* root, const wchar_t* relative) {
    const std::size_t rootLength = std::wcslen(root);
    const std::size_t relativeLength = std::wcslen(relative);
    if (rootLength + 1 + relativeLength >= kPathChars) {
        out.clear();
        return false;
    }
    // root may alias out.text, so move it first and append after it.
    std::wmemmove(out.text, root, rootLength);
    out.text[rootLength] = L'\\';
    std::wmemcpy(out.text + rootLength + 1, relative, relativeLength);
    out.text[rootLength + 1 + relativeLength] = L'\0';
    return true;
}

bool formatMessage(MessageText& out, const wchar_t* textTemplate, const wchar_t* argument) {
    std::size_t used = 0;
    bool fits = true;
    auto append = [&](const wchar_t* text, std::size_t length) {
        for (std::size_t i = 0; i < length; ++i) {
            if (used + 1 >= kMessageChars) {
                fits = false;
                return;
            }
            out.text[used++] = text[i];
        }
    };
    for (const wchar_t* p = textTemplate; *p != L'\0';) {
        if (p[0] == L'%' && p[1] == L's') {
            append(argument, std::wcslen(argument));
            p += 2;
        } else {
            append(p, 1);
            ++p;
        }
    }
    out.text[used] = L'\0';
    return fits;
}

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Next character of a path with separators collapsed and case folded; a
// trailing separator reads as the end.
wchar_t nextFolded(const wchar_t*& p) {
    if (isSeparator(*p)) {
        while (isSeparator(*p)) {
            ++p;
        }
        return *p == L'\0' ? L'\0' : L'\\';
    }
    if (*p == L'\0') {
        return L'\0';
    }
    return static_cast<wchar_t>(std::towupper(*p++));
}

}  // namespace

bool sameFolder(const wchar_t* a, const wchar_t* b) {
    for (;;) {
        const wchar_t ca = nextFolded(a);
        const wchar_t cb = nextFolded(b);
        if (ca != cb) {
            return false;
        }
        if (ca == L'\0') {
            return true;
        }
    }
}
