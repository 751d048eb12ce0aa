#include "environment/diagnostics.h"

#include <cwchar>

#include "environment/path_buffer.h"
#include "platform/platform.h"

void report(const wchar_t* format, unsigned code, const wchar_t* path) {
    // Room for a short text and a whole path, a final path's prefix included.
    constexpr int kChars = 128 + kPathChars + 8;
    wchar_t text[kChars];
    const int used = std::swprintf(text, kChars, format, code);
    if (used < 0 || std::swprintf(text + used, kChars - used, L": %ls", path) < 0) {
        platform::debugOutput(format);
        platform::debugOutput(path);
        return;
    }
    platform::debugOutput(text);
}
