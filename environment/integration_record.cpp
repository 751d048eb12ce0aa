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

// Opens parent\first\second in two steps; on success both keys are open.
bool openTwoSteps(const wchar_t* first, const wchar_t* second, bool view64, platform::RegKey* outer,
                  platform::RegKey* inner) {
    if (platform::regOpenKey(platform::localMachine(), first, view64, outer) !=
        platform::kSuccess) {
        return false;
    }
    if (platform::regOpenKey(*outer, second, view64, inner) != platform::kSuccess) {
        platform::regCloseKey(*outer);
        return false;
    }
    return true;
}

// Reads a string value whole into out. A value that is missing, not a
// string, or too long to be held with its ending NUL leaves out empty.
bool readString(platform::RegKey key, const wchar_t* name, PathBuffer& out) {
    wchar_t data[kPathChars];
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(data);
    out.clear();
    if (platform::regQueryValue(key, name, &type, data, &size) != platform::kSuccess) {
        return false;
    }
    if (type != platform::kRegSz && type != platform::kRegExpandSz) {
        return false;
    }
    if (size > sizeof(data)) {
        return false;
    }
    const std::size_t chars = size / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < chars && data[length] != L'\0') {
        ++length;
    }
    // Stored without its NUL and filling the whole buffer: it cannot be
    // held whole, so it counts as missing.
    if (length == kPathChars) {
        return false;
    }
    std::wmemcpy(out.text, data, length);
    out.text[length] = L'\0';
    return true;
}

bool writeString(platform::RegKey key, const wchar_t* name, const PathBuffer& value) {
    // The whole buffer is written; the bytes after the text are zeroed.
    PathBuffer clean;
    copyText(clean.text, value.text);
    return platform::regSetString(key, name, clean.text, sizeof(clean.text)) == platform::kSuccess;
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
    platform::RegKey uninstall = nullptr;
    platform::RegKey record = nullptr;
    if (!openTwoSteps(kUninstallKey, kRecordSubkey, false, &uninstall, &record)) {
        return false;
    }
    readString(record, L"AndroidStudioPath", gRecord.androidStudioPath);
    readString(record, L"AndroidStudioSDKPath", gRecord.androidStudioSdkPath);
    readString(record, L"ADTRootFolder", gRecord.adtRootFolder);
    readString(record, L"EclipseRootFolder", gRecord.eclipseRootFolder);
    readString(record, L"SDKRootFolder", gRecord.sdkRootFolder);
    gRecord.recordedAndroidStudio = !gRecord.androidStudioPath.empty();
    gRecord.recordedAdt = !gRecord.recordedAndroidStudio && !gRecord.adtRootFolder.empty();
    platform::regCloseKey(record);
    platform::regCloseKey(uninstall);
    return true;
}

bool findAndroidStudio() {
    platform::RegKey software = nullptr;
    platform::RegKey studio = nullptr;
    gAndroidStudio.installed = false;
    if (!openTwoSteps(kSoftwareKey, kAndroidStudioSubkey, true, &software, &studio)) {
        return false;
    }
    bool found = readString(studio, L"Path", gAndroidStudio.path) &&
                 readString(studio, L"SdkPath", gAndroidStudio.sdkPath);
    if (found) {
        gAndroidStudio.installed = !gAndroidStudio.path.empty() && !gAndroidStudio.sdkPath.empty();
    }
    platform::regCloseKey(studio);
    platform::regCloseKey(software);
    return found;
}

bool writeIntegrationRecord(Selection selection, const RecordSource& source) {
    platform::RegKey uninstall = nullptr;
    platform::RegKey record = nullptr;
    if (!openTwoSteps(kUninstallKey, kRecordSubkey, false, &uninstall, &record)) {
        return false;
    }
    if (selection != Selection::AndroidStudio) {
        source.androidStudioTarget->clear();
        source.androidStudioSdkTarget->clear();
    }
    if (selection != Selection::AdtBundle) {
        source.newAdtRoot->clear();
    }
    if (selection != Selection::Standalone) {
        source.newEclipseRoot->clear();
        source.newSdkRoot->clear();
    }
    const bool written =
        writeString(record, L"AndroidStudioPath", *source.androidStudioTarget) &&
        writeString(record, L"AndroidStudioSDKPath", *source.androidStudioSdkTarget) &&
        writeString(record, L"ADTRootFolder", *source.newAdtRoot) &&
        writeString(record, L"EclipseRootFolder", *source.newEclipseRoot) &&
        writeString(record, L"SDKRootFolder", *source.newSdkRoot);
    platform::regCloseKey(record);
    platform::regCloseKey(uninstall);
    return written;
}
