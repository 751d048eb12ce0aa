#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/dialog_state.h"
#include "environment/integration_record.h"
#include "tests/unit/fake_platform.h"

using Lines = std::vector<std::wstring>;
inline const wchar_t kRecordKey[] = L"32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parvex for Android";
inline const wchar_t kStudioKey[] = L"64\\SOFTWARE\\Android Studio";
inline std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Every test starts from an empty machine and process state, with the payload beside
// C:\Setup\Quorvane.exe: a folder and a file of Eclipse plug-ins, a folder in each other one.
class CoreTest : public ::testing::Test {
public:
    void SetUp() override {
        fake::reset();
        gRecord = IntegrationRecord();
        gAndroidStudio = AndroidStudioInstall();
        gDialog = DialogState();
        for (const wchar_t* entry : {L"plugins\\Eclipse\\core", L"plugins\\IntelliJ IDEA\\studio", L"add-ons\\addon"})
            fake::folder(std::wstring(L"C:\\Setup\\") + entry);
        fake::file(L"C:\\Setup\\plugins\\Eclipse\\ui.jar");
    }
    // Android Studio's key, and its folders unless told otherwise.
    void seedStudio(bool withFolders = true) {
        fake::setValue(kStudioKey, L"Path", L"C:\\studio");
        fake::setValue(kStudioKey, L"SdkPath", L"C:\\studio-sdk");
        if (withFolders) fake::folder(L"C:\\studio"), fake::folder(L"C:\\studio-sdk");
    }
    // The record's values: name, text, name, text...
    void seedRecord(const Lines& namesAndTexts) {
        for (std::size_t i = 0; i + 1 < namesAndTexts.size(); i += 2)
            fake::setValue(kRecordKey, namesAndTexts[i], namesAndTexts[i + 1]);
    }
};
