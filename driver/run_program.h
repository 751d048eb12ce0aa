#pragma once

#include "platform/platform.h"

extern const wchar_t kCaption[];
extern const wchar_t kUsageText[];
extern const wchar_t kIntroductionText[];

// The whole run for one command-line tail. Always returns 0.
int runProgram(const wchar_t* tail);
