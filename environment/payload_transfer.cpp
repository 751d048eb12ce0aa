#include "environment/payload_transfer.h"

#include <string>
#include <vector>

#include "environment/entry_life.h"
#include "environment/folder_walk.h"

bool payloadNamesUsable(const wchar_t* payload, int& entries) {
    std::vector<std::wstring> names;
    entries = 0;
    return visitEntries(payload, [&](const platform::FindEntry& entry) {
        PathBuffer path;
        joinPath(path, payload, entry.name);
        if (platform::equalIgnoringCase(entry.name, kStagingName)) {
            report(L"Refused: a payload entry has the staging folder's name", 0, path.text);
            return false;
        }
        for (const std::wstring& name : names) {
            if (platform::equalIgnoringCase(name.c_str(), entry.name)) {
                report(L"Refused: two payload entries differ only in case", 0, path.text);
                return false;
            }
        }
        names.emplace_back(entry.name);
        ++entries;
        return true;
    });
}

bool copyPayload(StagingFolder& staging, const wchar_t* payload, platform::Window owner) {
    return visitEntries(payload, [&](const platform::FindEntry& entry) {
        return replaceEntry(staging, payload, entry, owner);
    });
}

bool removePayload(StagingFolder& staging, const wchar_t* payload, platform::Window owner) {
    bool everyEntryReached = true;
    const bool listed = visitEntries(payload, [&](const platform::FindEntry& entry) {
        PathBuffer path;
        if (!joinPath(path, staging.target(), entry.name)) {
            // Never delete a path cut short: it could name another entry.
            everyEntryReached = false;
            return true;
        }
        staging.takeOut(entry.name, owner);
        return true;
    });
    return listed && everyEntryReached;
}
