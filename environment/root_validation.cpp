#include "environment/root_validation.h"

#include "platform/platform.h"

namespace {

// A marker path that does not fit a path buffer makes the root not valid.
bool markerFound(const PathBuffer& root, const wchar_t* relative, bool mustBeFolder) {
    PathBuffer path;
    if (!joinPath(path, root.text, relative)) {
        return false;
    }
    platform::FindEntry entry{};
    platform::FileListing lookup;
    if (!lookup.first(path.text, &entry)) {
        return false;
    }
    return !mustBeFolder || (entry.attributes & platform::kAttributeDirectory) != 0;
}

}  // namespace

bool validateAdtRoot(const PathBuffer& root) {
    return markerFound(root, L"eclipse\\eclipse.exe", false) &&
           markerFound(root, L"eclipse\\plugins", true) &&
           markerFound(root, L"sdk\\platform-tools\\adb.exe", false);
}

bool validateEclipseRoot(const PathBuffer& root) {
    return markerFound(root, L"eclipse.exe", false) && markerFound(root, L"plugins", true);
}

bool validateSdkRoot(const PathBuffer& root) {
    return markerFound(root, L"platform-tools\\adb.exe", false);
}
