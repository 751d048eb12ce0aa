#include "environment/program_bounds.h"

#include <cwchar>
#include <vector>

#include "environment/diagnostics.h"
#include "environment/environment_kind.h"
#include "environment/folder_rules.h"
#include "platform/platform.h"

namespace {

// A folder as it was found: its path, and which object it is when it
// could be opened.
struct KnownFolder {
    wchar_t text[kPathChars + 8] = {};
    bool identified = false;
    platform::FileIdentity identity{};
};

bool sameAs(const KnownFolder& known, const KnownFolder& folder) {
    if (known.identified && folder.identified) {
        return known.identity.volume == folder.identity.volume &&
               known.identity.indexHigh == folder.identity.indexHigh &&
               known.identity.indexLow == folder.identity.indexLow;
    }
    return samePathText(known.text, folder.text);
}

KnownFolder knownFolder(const wchar_t* path) {
    KnownFolder folder;
    std::wmemcpy(folder.text, path, std::wcslen(path) + 1);
    folder.identified = platform::fileIdentity(path, &folder.identity);
    return folder;
}

// The program's folder and its payload folders, each once, and the folders
// on the way to the program's folder; looked up once per run.
struct ProgramFolders {
    bool looked = false;
    bool found = false;
    std::vector<KnownFolder> own;
    std::vector<KnownFolder> way;
};
ProgramFolders gProgram;

bool isKnown(const std::vector<KnownFolder>& folders, const wchar_t* path) {
    for (const KnownFolder& folder : folders) {
        if (std::wcscmp(folder.text, path) == 0) {
            return true;
        }
    }
    return false;
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

bool lookUpProgramFolders() {
    PathBuffer program;
    if (!payloadRoot(program)) {
        return false;
    }
    gProgram.own.push_back(knownFolder(program.text));
    for (int kind = 0; kind < 3; ++kind) {
        for (int number = 1; number <= 2; ++number) {
            const IntegrationStep& step =
                integrationStep(static_cast<EnvironmentKind>(kind), number);
            PathBuffer payload;
            if (std::swprintf(payload.text, kPathChars, L"%ls%ls", program.text, step.payloadSub) <
                0) {
                return false;
            }
            if (!isKnown(gProgram.own, payload.text)) {
                gProgram.own.push_back(knownFolder(payload.text));
            }
        }
    }
    WalkedPath folder;
    if (!startWalk(program.text, folder)) {
        return false;
    }
    do {
        resolve(folder);
        gProgram.way.push_back(knownFolder(folder.text));
    } while (toParent(folder));
    return true;
}

}  // namespace

bool payloadRoot(PathBuffer& out) {
    const std::size_t length = platform::moduleFileName(out.text, kPathChars);
    wchar_t* lastBackslash =
        (length == 0 || length >= kPathChars) ? nullptr : std::wcsrchr(out.text, L'\\');
    if (lastBackslash == nullptr) {
        out.clear();
        return false;
    }
    lastBackslash[1] = L'\0';
    return true;
}

void forgetProgramFolders() {
    gProgram = ProgramFolders();
}

bool clearOfProgram(const wchar_t* target) {
    if (!gProgram.looked) {
        gProgram.looked = true;
        gProgram.found = lookUpProgramFolders();
    }
    if (!gProgram.found) {
        return false;
    }
    bool targetItself = true;
    KnownFolder targetFolder;
    const auto matchesProgram = [&](const wchar_t* path) {
        const KnownFolder folder = knownFolder(path);
        if (targetItself) {
            targetFolder = folder;
            targetItself = false;
        }
        for (const KnownFolder& own : gProgram.own) {
            if (sameAs(own, folder)) {
                return true;
            }
        }
        return false;
    };
    if (anyFolderOnTheWay(target, matchesProgram)) {
        report(L"A target in the program's folder is refused", 0, target);
        return false;
    }
    for (const KnownFolder& folder : gProgram.way) {
        if (sameAs(folder, targetFolder)) {
            report(L"A target that holds the program is refused", 0, target);
            return false;
        }
    }
    return true;
}
