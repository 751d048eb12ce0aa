#include "environment/payload_transfer.h"

#include "environment/folder_walk.h"

bool recoverTarget(const wchar_t* target, const wchar_t* payload, platform::Window owner) {
    return visitEntries(payload, [&](const platform::FindEntry& entry) {
        return recoverEntry(target, entry.name, owner);
    });
}

bool copyPayload(const FinalPath& target, const wchar_t* payload, platform::Window owner,
                 ReplacedEntries& replaced) {
    return visitEntries(payload, [&](const platform::FindEntry& entry) {
        ReplacedEntry entryRun;
        bool touched = false;
        const bool whole = replaceEntry(target, payload, entry, owner, entryRun, touched);
        if (touched) {
            replaced.push_back(entryRun);
        }
        return whole;
    });
}

bool commitReplaced(const ReplacedEntries& replaced, platform::Window owner) {
    for (const ReplacedEntry& entry : replaced) {
        if (!unlinkSetAside(entry)) {
            return false;
        }
    }
    for (const ReplacedEntry& entry : replaced) {
        commitEntry(entry, owner);
    }
    return true;
}

void restoreReplaced(const ReplacedEntries& replaced, platform::Window owner) {
    for (auto entry = replaced.rbegin(); entry != replaced.rend(); ++entry) {
        restoreEntry(*entry, owner);
    }
}

bool removePayload(const FinalPath& target, const wchar_t* payload, platform::Window owner) {
    bool everyEntryReached = true;
    const bool listed = visitEntries(payload, [&](const platform::FindEntry& entry) {
        PathBuffer path;
        if (!joinPath(path, target.text, entry.name)) {
            // Never delete a path cut short: it could name another entry.
            everyEntryReached = false;
            return true;
        }
        // A killed run's entries go with the rest.
        recoverEntry(target.text, entry.name, owner);
        removeEntry(target, entry.name, owner);
        return true;
    });
    return listed && everyEntryReached;
}
