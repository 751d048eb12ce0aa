// The Windows GUI entry: hands the command-line tail to the run.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include "dialog/main_dialog.h"
#include "driver/run_program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int) {
    gInstance = instance;
    return runProgram(commandLineTail);
}
