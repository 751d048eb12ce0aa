#pragma once

#include <gtest/gtest.h>

#include "environment/integration_record.h"
#include "environment/payload_transfer.h"
#include "tests/unit/fake_platform.h"

// Every test starts from an empty machine and an empty process state.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        gRecord = IntegrationRecord();
        gAndroidStudio = AndroidStudioInstall();
        gShellOwner = nullptr;
    }
};

inline const wchar_t kRecordKey[] =
    L"32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parvex for Android";
inline const wchar_t kStudioKey[] = L"64\\SOFTWARE\\Android Studio";
