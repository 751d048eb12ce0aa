#include "environment/root_validation.h"

#include "environment/environment_steps.h"
#include "environment/folder_walk.h"

namespace {

// A marker path that does not fit a path buffer makes the root not valid.
bool markerFound(const PathBuffer& root, const wchar_t* relative, bool mustBeFolder) {
    PathBuffer path;
    platform::FindEntry entry{};
    if (!joinPath(path, root.text, relative) || !lookUpEntry(path.text, entry)) {
        return false;
    }
    return !mustBeFolder || (entry.attributes & platform::kAttributeDirectory) != 0;
}

}  // namespace

// A root whose targets would lie in the program's folder or its payload, or
// hold the program, is not valid either.
bool validateAdtRoot(const PathBuffer& root) {
    return markerFound(root, L"eclipse\\eclipse.exe", false) &&
           markerFound(root, L"eclipse\\plugins", true) &&
           markerFound(root, L"sdk\\platform-tools\\adb.exe", false) &&
           rootClearOfProgram(EnvironmentKind::AdtBundle, RootSlot::First, root.text);
}

bool validateEclipseRoot(const PathBuffer& root) {
    return markerFound(root, L"eclipse.exe", false) && markerFound(root, L"plugins", true) &&
           rootClearOfProgram(EnvironmentKind::StandaloneEclipseSdk, RootSlot::First, root.text);
}

bool validateSdkRoot(const PathBuffer& root) {
    return markerFound(root, L"platform-tools\\adb.exe", false) &&
           rootClearOfProgram(EnvironmentKind::StandaloneEclipseSdk, RootSlot::Second, root.text);
}
