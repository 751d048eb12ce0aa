#include "environment/folder_walk.h"

#include <cwchar>

bool isDotEntry(const platform::FindEntry& entry) {
    return std::wcscmp(entry.name, L".") == 0 || std::wcscmp(entry.name, L"..") == 0;
}

bool lookUpEntry(const wchar_t* path, platform::FindEntry& entry) {
    platform::FileListing lookup;
    return lookup.first(path, &entry);
}
