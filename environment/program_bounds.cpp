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

// True when path or one of its parents, each judged by where it really is
// once that can be told, is one that matches; also when the path cannot be
// made full, so that the caller leaves it alone.
template <typename Matches>
bool anyFolderOnTheWay(const wchar_t* path, Matches matches) {
    WalkedPath folder;
    if (!startWalk(path, folder)) {
        return true;
    }
    do {
        resolve(folder);
        if (matches(folder.text)) {
            return true;
        }
    } while (toParent(folder));
    return false;
}

}  // namespace

bool clearOfProgram(const wchar_t* target) {
    ProgramFolders program;
    if (!programFolders(program)) {
        return false;
    }
    if (anyFolderOnTheWay(
            target, [&](const wchar_t* folder) { return isProgramFolder(folder, program); })) {
        report(L"A target in the program's folder is refused", 0, target);
        return false;
    }
    if (anyFolderOnTheWay(program.folders[0].text,
                          [&](const wchar_t* folder) { return sameFolder(folder, target); })) {
        report(L"A target that holds the program is refused", 0, target);
        return false;
    }
    return true;
}
