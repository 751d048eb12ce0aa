#include "environment/payload_transfer.h"

#include <cwchar>

platform::Window gShellOwner = nullptr;

namespace {

constexpr unsigned kCopyDirectoryFlags = platform::kFofMultiDestFiles | platform::kFofSilent |
                                         platform::kFofNoConfirmation |
                                         platform::kFofNoConfirmMkdir | platform::kFofNoErrorUi;
constexpr unsigned kDeleteDirectoryFlags = platform::kFofSilent | platform::kFofNoConfirmation |
                                           platform::kFofNoConfirmMkdir | platform::kFofNoErrorUi;
static_assert(kCopyDirectoryFlags == 0x0615, "copy flags for a directory");
static_assert((kCopyDirectoryFlags | platform::kFofFilesOnly) == 0x0695, "copy flags for a file");
static_assert(kDeleteDirectoryFlags == 0x0614, "delete flags for a directory");
static_assert((kDeleteDirectoryFlags | platform::kFofFilesOnly) == 0x0694,
              "delete flags for a file");

// A path list of one entry for the shell: the path, then two NULs.
struct ShellPathList {
    wchar_t text[kPathChars + 1] = {};
};

bool isDirectory(const platform::FindEntry& entry) {
    return (entry.attributes & platform::kAttributeDirectory) != 0;
}

bool isDotEntry(const platform::FindEntry& entry) {
    return isDirectory(entry) &&
           (std::wcscmp(entry.name, L".") == 0 || std::wcscmp(entry.name, L"..") == 0);
}

// folder + backslash + name as a one-entry shell list; fails when it does
// not fit a path buffer.
bool entryList(ShellPathList& list, const wchar_t* folder, const wchar_t* name) {
    PathBuffer path;
    if (!joinPath(path, folder, name)) {
        return false;
    }
    const std::size_t length = std::wcslen(path.text);
    std::wmemcpy(list.text, path.text, length);
    list.text[length] = L'\0';
    list.text[length + 1] = L'\0';
    return true;
}

void reportShellError(const wchar_t* prefix, unsigned code, const wchar_t* suffix) {
    static const wchar_t kDigits[] = L"0123456789abcdef";
    wchar_t hex[9];
    int length = 0;
    do {
        hex[length++] = kDigits[code & 0xF];
        code >>= 4;
    } while (code != 0);
    wchar_t text[80];
    std::size_t used = 0;
    for (const wchar_t* p = prefix; *p != L'\0';) {
        text[used++] = *p++;
    }
    while (length > 0) {
        text[used++] = hex[--length];
    }
    for (const wchar_t* p = suffix; *p != L'\0';) {
        text[used++] = *p++;
    }
    text[used] = L'\0';
    platform::debugOutput(text);
}

// Calls visit for every top-level entry of payload except "." and "..".
// Fails when the listing cannot be started.
template <typename Visit>
bool walkPayload(const wchar_t* payload, Visit visit) {
    PathBuffer pattern;
    if (!joinPath(pattern, payload, L"*.*")) {
        return false;
    }
    platform::FindEntry entry{};
    platform::FindHandle listing = platform::findFirst(pattern.text, &entry);
    if (listing == nullptr) {
        return false;
    }
    do {
        if (!isDotEntry(entry)) {
            visit(entry);
        }
    } while (platform::findNext(listing, &entry));
    platform::findClose(listing);
    return true;
}

// A root must name one folder wherever the program was started from: a
// drive path ("C:\...") or a network path ("\\server\share..."). An empty
// root would put the target at the root of the current drive, and so would
// "\x"; "x" or "C:x" would depend on the current folder.
bool isAbsoluteRoot(const wchar_t* root) {
    if (root == nullptr) {
        return false;
    }
    const bool driveLetter =
        (root[0] >= L'A' && root[0] <= L'Z') || (root[0] >= L'a' && root[0] <= L'z');
    if (driveLetter && root[1] == L':' && (root[2] == L'\\' || root[2] == L'/')) {
        return true;
    }
    return root[0] == L'\\' && root[1] == L'\\' && root[2] != L'\0' && root[2] != L'\\';
}

// The step's target folder; fails for a root that is not absolute.
bool stepTarget(const IntegrationStep& step, PathBuffer& target) {
    if (!isAbsoluteRoot(step.root)) {
        return false;
    }
    return joinPath(target, step.root, step.targetSub);
}

bool isKept(const PathBuffer& target, const KeptFolders* kept) {
    for (int i = 0; kept != nullptr && i < kept->count; ++i) {
        if (sameFolder(target.text, kept->folders[i].text)) {
            return true;
        }
    }
    return false;
}

bool runStep(const IntegrationStep& step, bool copy, const KeptFolders* kept = nullptr) {
    PathBuffer target;
    if (!stepTarget(step, target)) {
        return false;
    }
    if (!copy && isKept(target, kept)) {
        return true;
    }
    PathBuffer payload;
    if (!payloadRoot(payload)) {
        return false;
    }
    // payloadRoot ends in a backslash; the subfolder is appended to it.
    const std::size_t rootLength = std::wcslen(payload.text);
    if (rootLength + std::wcslen(step.payloadSub) >= kPathChars) {
        return false;
    }
    std::wcscat(payload.text, step.payloadSub);

    if (!copy) {
        return removePayload(target.text, payload.text);
    }
    if (step.createTarget) {
        platform::FindEntry found{};
        platform::FindHandle lookup = platform::findFirst(target.text, &found);
        if (lookup == nullptr) {
            platform::createDirectory(target.text);
        } else {
            platform::findClose(lookup);
        }
    }
    return copyPayload(target.text, payload.text);
}

}  // namespace

IntegrationStep integrationStep(EnvironmentKind kind, const EnvironmentRoots& roots, int number) {
    const bool plugins = number == 1;
    switch (kind) {
        case EnvironmentKind::AndroidStudio:
            return plugins ? IntegrationStep{1, roots.first, L"plugins", L"plugins\\IntelliJ IDEA",
                                             false}
                           : IntegrationStep{2, roots.second, L"add-ons", L"add-ons", true};
        case EnvironmentKind::AdtBundle:
            return plugins ? IntegrationStep{1, roots.first, L"eclipse\\plugins",
                                             L"plugins\\Eclipse", false}
                           : IntegrationStep{2, roots.first, L"sdk\\add-ons", L"add-ons", true};
        case EnvironmentKind::StandaloneEclipseSdk:
        default:
            return plugins ? IntegrationStep{1, roots.first, L"plugins", L"plugins\\Eclipse", false}
                           : IntegrationStep{2, roots.second, L"add-ons", L"add-ons", true};
    }
}

bool payloadRoot(PathBuffer& out) {
    const std::size_t length = platform::moduleFileName(out.text, kPathChars);
    if (length == 0 || length >= kPathChars) {
        out.clear();
        return false;
    }
    wchar_t* lastBackslash = std::wcsrchr(out.text, L'\\');
    if (lastBackslash == nullptr) {
        out.clear();
        return false;
    }
    lastBackslash[1] = L'\0';
    return true;
}

bool copyPayload(const wchar_t* target, const wchar_t* payload) {
    bool everyEntryCopied = true;
    const bool listed = walkPayload(payload, [&](const platform::FindEntry& entry) {
        ShellPathList from;
        ShellPathList to;
        if (!entryList(from, payload, entry.name) || !entryList(to, target, entry.name)) {
            everyEntryCopied = false;
            return;
        }
        const unsigned flags = isDirectory(entry) ? kCopyDirectoryFlags
                                                  : kCopyDirectoryFlags | platform::kFofFilesOnly;
        bool aborted = false;
        const int result = platform::shellFileOperation(gShellOwner, platform::kFoCopy, from.text,
                                                        to.text, flags, &aborted);
        if (result != 0) {
            reportShellError(L"Error in file operation 0x", static_cast<unsigned>(result), L"");
        }
        if (result != 0 || aborted) {
            everyEntryCopied = false;
        }
    });
    return listed && everyEntryCopied;
}

bool removePayload(const wchar_t* target, const wchar_t* payload) {
    bool everyEntryReached = true;
    const bool listed = walkPayload(payload, [&](const platform::FindEntry& entry) {
        ShellPathList path;
        if (!entryList(path, target, entry.name)) {
            // Never delete a path cut short: it could name another folder.
            everyEntryReached = false;
            return;
        }
        const unsigned flags = isDirectory(entry) ? kDeleteDirectoryFlags
                                                  : kDeleteDirectoryFlags | platform::kFofFilesOnly;
        bool aborted = false;
        const int result = platform::shellFileOperation(gShellOwner, platform::kFoDelete, path.text,
                                                        nullptr, flags, &aborted);
        // An entry that is not in the target is fine: nothing to remove.
        if (result != 0) {
            reportShellError(L"Error in SHFileOperation [0x", static_cast<unsigned>(result), L"]");
        }
    });
    return listed && everyEntryReached;
}

bool integrateEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots, StepOrder order) {
    const int firstStep = order == StepOrder::PluginsFirst ? 1 : 2;
    const int secondStep = 3 - firstStep;
    if (!runStep(integrationStep(kind, roots, firstStep), true)) {
        return false;
    }
    return runStep(integrationStep(kind, roots, secondStep), true);
}

KeptFolders targetFolders(EnvironmentKind kind, const EnvironmentRoots& roots) {
    KeptFolders targets;
    for (int number = 1; number <= 2; ++number) {
        if (stepTarget(integrationStep(kind, roots, number), targets.folders[targets.count])) {
            ++targets.count;
        }
    }
    return targets;
}

bool removeEnvironment(EnvironmentKind kind, const EnvironmentRoots& roots,
                       const KeptFolders* kept) {
    if (!runStep(integrationStep(kind, roots, 1), false, kept)) {
        return false;
    }
    return runStep(integrationStep(kind, roots, 2), false, kept);
}
