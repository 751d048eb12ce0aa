#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/dialog_state.h"
#include "environment/integration_record.h"
#include "tests/unit/fake_platform.h"

using Lines = std::vector<std::wstring>;

inline const wchar_t kRecordKey[] =
    L"32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parvex for Android";
inline const wchar_t kStudioKey[] = L"64\\SOFTWARE\\Android Studio";

// Every test starts from an empty machine and process state, with the
// payload beside C:\Setup\Quorvane.exe: one folder and one file for the
// Eclipse plug-ins, one folder for each other payload folder.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        gRecord = IntegrationRecord();
        gAndroidStudio = AndroidStudioInstall();
        gDialog = DialogState();
        fake::folder(L"C:\\Setup\\plugins\\Eclipse\\core");
        fake::file(L"C:\\Setup\\plugins\\Eclipse\\ui.jar");
        fake::folder(L"C:\\Setup\\plugins\\IntelliJ IDEA\\studio");
        fake::folder(L"C:\\Setup\\add-ons\\addon");
        fake::state().log.clear();
    }

    // Reads the record and the Android Studio key as a run does at start.
    void readState() {
        readIntegrationRecord();
        findAndroidStudio();
    }
};
