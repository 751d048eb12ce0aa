#include "environment/program_bounds.h"

#include <cwchar>

#include "environment/diagnostics.h"
#include "environment/environment_steps.h"
#include "environment/folder_rules.h"

namespace {

// The program's folder and its payload folders, each once.
struct ProgramFolders {
    PathBuffer folders[4];
    int count = 0;
};

bool isKnown(const ProgramFolders& program, const wchar_t* folder) {
    for (int i = 0; i < program.count; ++i) {
        if (std::wcscmp(program.folders[i].text, folder) == 0) {
            return true;
        }
    }
    return false;
}

bool programFolders(ProgramFolders& out) {
    PathBuffer program;
    if (!payloadRoot(program)) {
        return false;
    }
    out.folders[out.count++] = program;
    for (int kind = 0; kind < 3; ++kind) {
        for (int number = 1; number <= 2; ++number) {
            const IntegrationStep& step =
                integrationStep(static_cast<EnvironmentKind>(kind), number);
            PathBuffer payload;
            if (std::swprintf(payload.text, kPathChars, L"%ls%ls", program.text, step.payloadSub) <
                0) {
                return false;
            }
            if (!isKnown(out, payload.text)) {
                out.folders[out.count++] = payload;
            }
        }
    }
    return true;
}

// A folder's path, and once one of it or its parents exists, where that
// really is: links on the way would hide what it lies in.
struct WalkedPath {
    wchar_t text[kPathChars + 8] = {};
    bool real = false;
};

bool startWalk(const wchar_t* path, WalkedPath& walked) {
    return platform::fullPath(path, walked.text, kPathChars);
}

// Cuts the last name off; false at
// the top ("C:\" or "\\server\share").
bool toParent(WalkedPath& walked) {
    wchar_t* last = std::wcsrchr(walked.text, L'\\');
    if (last == nullptr) {
        return false;
    }
    if (walked.text[1] == L':') {
        if (last != walked.text + 2) {
            *last = L'\0';
            return true;
        }
        const bool belowRoot = last[1] != L'\0';
        last[1] = L'\0';
        return belowRoot;
    }
    int separatorsBefore = 0;
    for (const wchar_t* c = walked.text; c < last; ++c) {
        separatorsBefore += *c == L'\\' ? 1 : 0;
    }
    if (separatorsBefore < 3) {
        return false;
    }
    *last = L'\0';
    return true;
}

// Makes walked its final path the first time that can be told.
void resolve(WalkedPath& walked) {
    FinalPath final;
    if (!walked.real && finalPathOf(walked.text, final)) {
        std::wmemcpy(walked.text, final.text, sizeof(walked.text) / sizeof(walked.text[0]));
        walked.real = true;
    }
}

bool isProgramFolder(const wchar_t* folder, const ProgramFolders& program) {
    for (int i = 0; i < program.count; ++i) {
        if (sameFolder(folder, program.folders[i].text)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool clearOfProgram(const wchar_t* target) {
    ProgramFolders program;
    WalkedPath folder;
    if (!programFolders(program) || !startWalk(target, folder)) {
        return false;
    }
    do {
        resolve(folder);
        if (isProgramFolder(folder.text, program)) {
            report(L"A target in the program's folder is refused", 0, target);
            return false;
        }
    } while (toParent(folder));
    if (!startWalk(program.folders[0].text, folder)) {
        return false;
    }
    do {
        resolve(folder);
        if (sameFolder(folder.text, target)) {
            report(L"A target that holds the program is refused", 0, target);
            return false;
        }
    } while (toParent(folder));
    return true;
}
