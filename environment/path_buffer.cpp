#include "environment/path_buffer.h"

#include <cwchar>

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
