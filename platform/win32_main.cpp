// The Windows GUI entry: hands the instance and the command-line tail to
// the core's run.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include "platform/platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int) {
    return runProgram(instance, commandLineTail);
}
