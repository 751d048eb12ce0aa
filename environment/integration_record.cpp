#include "environment/integration_record.h"

#include <cwchar>

#include "platform/platform.h"

IntegrationRecord gRecord;
AndroidStudioInstall gAndroidStudio;

namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kRecordSubkey[] = L"Parvex for Android";
const wchar_t kSoftwareKey[] = L"SOFTWARE";
const wchar_t kAndroidStudioSubkey[] = L"Android Studio";

// Opens HKEY_LOCAL_MACHINE\first\second in two steps.
bool openTwoSteps(const wchar_t* first, const wchar_t* second, bool view64,
                  platform::RegistryKey& outer, platform::RegistryKey& inner) {
    return outer.open(nullptr, first, view64) == platform::kSuccess &&
           inner.open(&outer, second, view64) == platform::kSuccess;
}

// Reads a string value whole into out, REG_EXPAND_SZ expanded as Windows
// programs read it. A value that is missing, not a string, or too long to
// be held with its ending NUL leaves out empty. A value stored without its
// ending NUL is completed with one.
bool readString(const platform::RegistryKey& key, const wchar_t* name, PathBuffer& out) {
    wchar_t data[kPathChars];
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(data);
    out.clear();
    if (key.query(name, &type, data, &size) != platform::kSuccess || size > sizeof(data) ||
        (type != platform::kRegSz && type != platform::kRegExpandSz)) {
        return false;
    }
    const std::size_t chars = size / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < chars && data[length] != L'\0') {
        ++length;
    }
    if (length == kPathChars) {
        return false;
    }
    data[length] = L'\0';
    if (type == platform::kRegSz) {
        return copyText(out.text, data);
    }
    const std::size_t needed = platform::expandEnvironmentStrings(data, out.text, kPathChars);
    if (needed == 0 || needed > kPathChars) {
        out.clear();
        return false;
    }
    return true;
}

bool writeString(const platform::RegistryKey& key, const wchar_t* name, const PathBuffer& value) {
    // The whole buffer is written; the bytes after the text are zeroed.
    PathBuffer clean;
    copyText(clean.text, value.text);
    return key.setString(name, clean.text, sizeof(clean.text)) == platform::kSuccess;
}

// The record's buffers that hold each root of kind; AdtBundle has no second.
struct RootValues {
    PathBuffer IntegrationRecord::*first;
    PathBuffer IntegrationRecord::*second;
};

RootValues rootValues(EnvironmentKind kind) {
    switch (kind) {
        case EnvironmentKind::AndroidStudio:
            return {&IntegrationRecord::androidStudioPath,
                    &IntegrationRecord::androidStudioSdkPath};
        case EnvironmentKind::AdtBundle:
            return {&IntegrationRecord::adtRootFolder, nullptr};
        case EnvironmentKind::StandaloneEclipseSdk:
        default:
            return {&IntegrationRecord::eclipseRootFolder, &IntegrationRecord::sdkRootFolder};
    }
}

}  // namespace

EnvironmentKind recordedKind(const IntegrationRecord& record) {
    if (record.recordedAndroidStudio) {
        return EnvironmentKind::AndroidStudio;
    }
    if (record.recordedAdt) {
        return EnvironmentKind::AdtBundle;
    }
    return EnvironmentKind::StandaloneEclipseSdk;
}

bool readIntegrationRecord() {
    gRecord = IntegrationRecord();  // read again at an Integrate: a value may have gone
    platform::RegistryKey uninstall;
    platform::RegistryKey record;
    if (!openTwoSteps(kUninstallKey, kRecordSubkey, false, uninstall, record)) {
        return false;
    }
    readString(record, L"AndroidStudioPath", gRecord.androidStudioPath);
    readString(record, L"AndroidStudioSDKPath", gRecord.androidStudioSdkPath);
    readString(record, L"ADTRootFolder", gRecord.adtRootFolder);
    readString(record, L"EclipseRootFolder", gRecord.eclipseRootFolder);
    readString(record, L"SDKRootFolder", gRecord.sdkRootFolder);
    gRecord.recordedAndroidStudio = !gRecord.androidStudioPath.empty();
    gRecord.recordedAdt = !gRecord.recordedAndroidStudio && !gRecord.adtRootFolder.empty();
    return true;
}

bool findAndroidStudio() {
    platform::RegistryKey software;
    platform::RegistryKey studio;
    gAndroidStudio.installed = false;
    if (!openTwoSteps(kSoftwareKey, kAndroidStudioSubkey, true, software, studio)) {
        return false;
    }
    bool found = readString(studio, L"Path", gAndroidStudio.path) &&
                 readString(studio, L"SdkPath", gAndroidStudio.sdkPath);
    if (found) {
        gAndroidStudio.installed = !gAndroidStudio.path.empty() && !gAndroidStudio.sdkPath.empty();
    }
    return found;
}

EnvironmentRoots recordedRoots(EnvironmentKind kind) {
    const RootValues values = rootValues(kind);
    return {(gRecord.*values.first).text,
            values.second == nullptr ? nullptr : (gRecord.*values.second).text};
}

bool writeIntegrationRecord(EnvironmentKind kind, const EnvironmentRoots& roots) {
    platform::RegistryKey uninstall;
    platform::RegistryKey record;
    if (!openTwoSteps(kUninstallKey, kRecordSubkey, false, uninstall, record)) {
        return false;
    }
    // The written record names one environment: the others' values are empty.
    IntegrationRecord written;
    const RootValues values = rootValues(kind);
    copyText((written.*values.first).text, roots.first);
    if (values.second != nullptr) {
        copyText((written.*values.second).text, roots.second);
    }
    return writeString(record, L"AndroidStudioPath", written.androidStudioPath) &&
           writeString(record, L"AndroidStudioSDKPath", written.androidStudioSdkPath) &&
           writeString(record, L"ADTRootFolder", written.adtRootFolder) &&
           writeString(record, L"EclipseRootFolder", written.eclipseRootFolder) &&
           writeString(record, L"SDKRootFolder", written.sdkRootFolder);
}
