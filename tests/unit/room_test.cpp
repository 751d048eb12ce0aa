// Paths never cut short, and room measured before anything is moved: what would not fit fails untouched.
#include <algorithm>

#include "environment/program_bounds.h"
#include "tests/unit/environment_trees.h"

namespace {

using Room = CoreTest;

TEST_F(Room, PathsThatDoNotFitAreNeverCutShort) {
    // Paths fit at 259 characters.
    for (std::size_t length : {258u, 259u, 260u, 300u}) {
        const std::wstring root = L"C:\\" + std::wstring(length - 5, L'r');
        const bool fits = length <= 259;
        PathBuffer joined, copied;
        EXPECT_EQ(joinPath(joined, root.c_str(), L"x"), fits) << length;
        EXPECT_EQ(std::wstring(joined.text), fits ? root + L"\\x" : L"") << length;
        EXPECT_EQ(copyText(copied.text, std::wstring(length, L't').c_str()), fits) << length;
    }
    // "eclipse\plugins\.quorvane" fits, a payload entry of 20 characters in "eclipse\plugins" not.
    const std::wstring root = L"C:\\" + std::wstring(259 - 3 - 16 - 15, L'r');
    fake::add(L"C:\\Setup\\plugins\\Eclipse\\" + std::wstring(20, L'a'), false);
    fake::add(root + L"\\eclipse\\plugins");
    fake::add(root + L"\\sdk");
    fake::state().log.clear();
    EXPECT_FALSE(
        integrateEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr}, StepOrder::PluginsFirst, nullptr));
    EXPECT_EQ(work(), Lines{});
    // A removal whose target entries do not fit fails, as the copy does.
    EXPECT_FALSE(removeEnvironment(EnvironmentKind::AdtBundle, {root.c_str(), nullptr}, nullptr));
    // So does a copy below which a path would not fit, the staging folder fitting: the shell would skip it.
    const std::wstring adt = L"C:\\" + std::wstring(207, L'a');
    for (const wchar_t* folder : {L"\\eclipse\\plugins", L"\\sdk"}) fake::add(adt + folder);
    fake::add(L"C:\\Setup\\add-ons\\addon\\" + std::wstring(40, L'n'), false);
    EXPECT_FALSE(
        integrateEnvironment(EnvironmentKind::AdtBundle, {adt.c_str(), nullptr}, StepOrder::PluginsFirst, nullptr));
    // The program's path: 260 characters do not fit, 259 do.
    PathBuffer payload;
    fake::state().modulePath = L"C:\\" + std::wstring(251, L'z') + L"\\Q.exe";
    EXPECT_FALSE(payloadRoot(payload));
    fake::state().modulePath = L"C:\\" + std::wstring(250, L'z') + L"\\Q.exe";
    EXPECT_TRUE(payloadRoot(payload));
    EXPECT_EQ(payload.text, L"C:\\" + std::wstring(250, L'z') + L"\\");
}

// What is moved into the staging folder is measured first: a path there of 259 characters fits, one of 260 makes the
// entry fail untouched, in a copy (the run then taken back) and in a removal (the entry left alone).
TEST_F(Room, WhatWouldNotFitInTheStagingFolderIsLeftUntouched) {
    for (const std::size_t length : {259u, 260u}) {
        SetUp();
        const std::wstring below = std::wstring(length - std::wcslen(L"C:\\eclipse\\plugins\\.quorvane\\0\\"), L'x');
        fake::add(L"C:\\eclipse\\plugins\\core\\" + below, false);
        const Tree before = tree();
        EXPECT_EQ(integrateStandalone(), length == 259) << length;
        if (length == 260) {
            EXPECT_EQ(tree(), before);
            EXPECT_TRUE(removeEnvironment(EnvironmentKind::StandaloneEclipseSdk, kStandalone, nullptr));
            EXPECT_TRUE(fake::exists(L"C:\\eclipse\\plugins\\core\\" + below));
        }
    }
    // A payload path at the target is measured as well, before its copy.
    for (const std::size_t length : {259u, 260u}) {
        SetUp();
        const std::wstring name(20, L'p'), copy = L"copy C:\\adt\\sdk\\add-ons\\" + name + L" 615";
        fake::add(L"C:\\Setup\\add-ons\\" + name + L"\\" + std::wstring(length - 19 - 21, L'f'), false);
        EXPECT_EQ(integrateEnvironment(EnvironmentKind::AdtBundle, kAdt, StepOrder::PluginsFirst, nullptr),
                  length == 259)
            << length;
        const Lines done = work();
        EXPECT_EQ(std::count(done.begin(), done.end(), copy), length == 259) << length;
    }
    // Taking a run back may take one more slot for each entry: the highest is measured before the first change.
    // With 13 plug-ins it has two digits, where the one slot that "a" needs has one; the add-ons then fail.
    SetUp();
    for (int i = 0; i < 10; ++i) fake::add(L"C:\\Setup\\plugins\\Eclipse\\x" + std::to_wstring(i), false);
    fake::add(L"C:\\Setup\\plugins\\Eclipse\\a\\" + std::wstring(224, L'f'), false);
    fake::state().shellResults[L"C:\\Setup\\add-ons\\addon"] = 2;
    EXPECT_FALSE(integrateEnvironment(EnvironmentKind::AdtBundle, kAdt, StepOrder::PluginsFirst, nullptr));
    EXPECT_FALSE(fake::exists(L"C:\\adt\\eclipse\\plugins\\a") || fake::exists(L"C:\\adt\\eclipse\\plugins\\.quorvane"));
    // Nor is a payload entry that has the staging folder's name copied: nothing is.
    fake::add(L"C:\\Setup\\add-ons\\.Quorvane");
    fake::state().log.clear();
    EXPECT_FALSE(integrateStandalone());
    EXPECT_EQ(work(), Lines{});
}

}  // namespace
