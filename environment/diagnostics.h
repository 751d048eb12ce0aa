// Diagnostics for a debugger, never for a window.
#pragma once

// One line: the text formatted with its code (format may use "%x"), then
// the whole path.
void report(const wchar_t* format, unsigned code, const wchar_t* path);
