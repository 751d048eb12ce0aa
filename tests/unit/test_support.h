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

// The payload folders beside C:\Setup\Quorvane.exe, one entry of each kind.
inline void addSamplePayload() {
    fake::addFolder(L"C:\\Setup\\plugins\\Eclipse\\com.parvex.core");
    fake::addFile(L"C:\\Setup\\plugins\\Eclipse\\com.parvex.ui.jar");
    fake::addFolder(L"C:\\Setup\\plugins\\IntelliJ IDEA\\parvex-studio");
    fake::addFolder(L"C:\\Setup\\add-ons\\addon-parvex");
}

inline const wchar_t kRecordKey[] =
    L"32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parvex for Android";
inline const wchar_t kStudioKey[] = L"64\\SOFTWARE\\Android Studio";

#include "dialog/dialog_state.h"
#include "dialog/main_dialog.h"

inline platform::Window const kDialog = reinterpret_cast<platform::Window>(0xD1A);

// A dialog test starts with the dialog opened on the record and Android
// Studio key that the test seeds before calling open().
class DialogTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gDialog = DialogState();
        addSamplePayload();
    }

    bool open() {
        readIntegrationRecord();
        findAndroidStudio();
        return onMainDialogInit(kDialog);
    }

    // A button press as the platform reports it.
    bool press(int id) {
        if (id == 1004 || id == 1006 || id == 1007 || id == 1020) {
            // Automatic buttons change their own check mark first.
            auto& check = fake::state().checks[id];
            check = (id == 1004) ? 1 - check : 1;
        }
        return onMainDialogCommand(id, platform::kBnClicked);
    }

    std::vector<std::wstring> messageTexts() const {
        std::vector<std::wstring> texts;
        for (const auto& box : fake::state().messageBoxes) texts.push_back(box.text);
        return texts;
    }
};
