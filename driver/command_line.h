#pragma once

struct RunOptions {
    bool install = false;
    bool uninstall = false;
    bool silent = false;
    bool actionGiven = false;
};

// Scans the command-line tail as one text: every "/" or "-" starts a
// candidate switch, compared case-insensitively as a prefix.
RunOptions scanSwitches(const wchar_t* tail);
