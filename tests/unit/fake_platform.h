// The least double of platform.h that the unit tests need: a file tree, a registry, and a log of
// every shell, file and window call in order, with the fixture every test starts from.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_state.h"
#include "environment/integration_record.h"
#include "environment/program_bounds.h"

using Lines = std::vector<std::wstring>;

namespace fake {

struct Node {
    bool folder = true;
    std::uint32_t extraAttributes = 0;  // a reparse point; read-only (0x1), which a link cannot be removed with
    std::wstring leadsTo;               // a link: where its final path is; the shell's copy and delete follow it
    std::uint64_t size = 0;             // a file's
    bool unlisted = false;              // its listing cannot be started
    bool breaksOff = false;             // its listing breaks off after the first entry
    std::uint32_t tag = 0xA000000C;     // a reparse point's tag: a symbolic link
    std::wstring spelled;               // the path as it was made; empty: as its key
};

// Thrown by the k-th call that changes the disk when the program is to stop there, as if killed.
struct Stopped {};

// Log lines: "copy TO FLAGS", "delete PATH FLAGS" (flags in hex, then " owned" with an owner
// window), "box TEXT|CAPTION|TYPE", "mkdir P", "rmdir P", "unlink P", "progress created|shown|destroyed",
// "end RESULT", "set NAME", "co uninitialize", "dialog", "move FROM TO", "attrib P HEX".
struct State {
    std::map<std::wstring, Node> nodes;  // by lower-case path
    std::wstring modulePath = L"C:\\Setup\\Quorvane.exe";
    // "32\KEY\PATH" in lower case -> value name -> (type, data as stored)
    std::map<std::wstring, std::map<std::wstring, std::pair<std::uint32_t, std::wstring>>> registry;
    std::map<std::wstring, int> shellResults;  // by source: what its call returns, nothing copied
    std::map<std::wstring, int> shortFiles;    // by source file below a copied folder: bytes that arrive, -1 none
    Lines log;
    std::vector<int> answers;  // message boxes' answers in order; IDOK when none is left
    std::vector<std::pair<platform::BrowseResult, std::wstring>> browseAnswers;
    std::map<int, int> enabled;  // 1: enabled
    std::map<int, int> checks;
    std::map<int, std::wstring> texts;  // 0: the window's caption
    std::int32_t coInitializeResult = 0;
    std::function<void()> inDialog;     // what the user does while the main dialog runs
    std::function<void()> duringShell;  // what happens while a shell operation runs
    std::vector<std::wstring> held;     // folders held open, by key
    int changes = 0;                    // calls so far that change the disk
    int stopAt = 0, failAt = 0;         // the call that stops the program, and the one that fails
    // The order of the run's calls, by kind: "harden", "lock", "unlock", "registry" (an open), "listing", "module",
    // "attributes", "box".
    Lines calls;
    bool hardeningRefused = false;
    bool lockHeldElsewhere = false;
    std::wstring refusedWrites;  // registry writes of data that starts so fail  // another run holds the run lock for as long as this one waits
};

State& state();
void add(const std::wstring& path, bool folder = true, std::uint64_t size = 0);  // with its parent folders
bool exists(const std::wstring& path);
// A value of a "32\..." or "64\..." key, stored with its NUL unless raw.
void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& text,
              std::uint32_t type = platform::kRegSz, bool raw = false);
// A value's data whole, NULs and all; empty when missing.
std::wstring stored(const std::wstring& key, const std::wstring& name);

// The log without the program's own bookkeeping: its staging folders and their marks made and removed, and the
// journal's writes. What moves into a slot, and what is deleted there, shows.
Lines withoutBookkeeping();

}  // namespace fake

inline const wchar_t kRecordKey[] = L"32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parvex for Android";
inline const wchar_t kStudioKey[] = L"64\\SOFTWARE\\Android Studio";

// Every test starts from an empty machine and process state, with the payload beside
// C:\Setup\Quorvane.exe (a folder and a file of Eclipse plug-ins, a folder in each other one), an
// ADT bundle at C:\adt, a standalone Eclipse and SDK at C:\eclipse and C:\sdk, an Android Studio's
// plug-in and add-on at C:\old and C:\old-sdk (which holds a file named plugins), and Android Studio's
// folders C:\studio and C:\studio-sdk.
class CoreTest : public ::testing::Test {
public:
    void SetUp() override {
        fake::state() = fake::State();
        gRecord = IntegrationRecord();
        gAndroidStudio = AndroidStudioInstall();
        gDialog = DialogState();
        forgetProgramFolders();
        for (const wchar_t* folder :
             {L"C:\\Setup\\plugins\\Eclipse\\core", L"C:\\Setup\\plugins\\IntelliJ IDEA\\studio",
              L"C:\\Setup\\add-ons\\addon", L"C:\\adt\\eclipse\\plugins", L"C:\\eclipse\\plugins", L"C:\\sdk",
              L"C:\\old\\plugins\\studio", L"C:\\old-sdk\\add-ons\\addon", L"C:\\studio\\plugins", L"C:\\studio-sdk"})
            fake::add(folder);
        for (const wchar_t* file : {L"C:\\Setup\\plugins\\Eclipse\\ui.jar", L"C:\\adt\\eclipse\\eclipse.exe",
                                    L"C:\\adt\\sdk\\platform-tools\\adb.exe", L"C:\\old-sdk\\plugins"})
            fake::add(file, false);
    }
    // Android Studio's key, naming the folders below unless told to name a missing one.
    static void seedStudio(bool withFolders = true) {
        fake::setValue(kStudioKey, L"Path", withFolders ? L"C:\\studio" : L"C:\\missing");
        fake::setValue(kStudioKey, L"SdkPath", L"C:\\studio-sdk");
    }
    // The record's values: name, text, name, text...
    static void seedRecord(const Lines& namesAndTexts) {
        for (std::size_t i = 0; i + 1 < namesAndTexts.size(); i += 2)
            fake::setValue(kRecordKey, namesAndTexts[i], namesAndTexts[i + 1]);
    }
};
