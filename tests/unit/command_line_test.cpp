#include <gtest/gtest.h>

#include <ostream>

#include "driver/command_line.h"

namespace {

struct Expected {
    const wchar_t* tail;
    bool install;
    bool uninstall;
    bool silent;
};

// Readable test names: the tail itself.
void PrintTo(const Expected& expected, std::ostream* os) {
    for (const wchar_t* p = expected.tail; *p != L'\0'; ++p) *os << static_cast<char>(*p);
}

class SwitchScan : public ::testing::TestWithParam<Expected> {};

TEST_P(SwitchScan, RecognisesSwitchesInTheTailAsOneText) {
    const Expected& expected = GetParam();
    const RunOptions options = scanSwitches(expected.tail);
    EXPECT_EQ(options.install, expected.install);
    EXPECT_EQ(options.uninstall, expected.uninstall);
    EXPECT_EQ(options.silent, expected.silent);
    EXPECT_EQ(options.actionGiven, expected.install || expected.uninstall);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, SwitchScan,
    ::testing::Values(
        Expected{L"", false, false, false}, Expected{L"install uninstall", false, false, false},
        Expected{L"-silence", false, false, true},
        Expected{L"-silent -install", true, false, false},
        Expected{L"-Install", true, false, false}, Expected{L"/INSTALL", true, false, false},
        Expected{L"-installer", true, false, false}, Expected{L"-uninstall", false, true, false},
        Expected{L"/silence /install", true, false, true},
        Expected{L"-INSTALL-SILENCE", true, false, true},
        Expected{L"-install -uninstall -silence", true, true, true},
        Expected{L"\"C:\\my-files\" -uninstall", false, true, false},
        Expected{L"-uninstal", false, false, false}, Expected{L"--install", true, false, false},
        Expected{L"-", false, false, false}));

}  // namespace
