// The run for one command line: usage, interactive or silent install,
// uninstall. Its entry, runProgram, is declared with the platform that
// calls it.
#pragma once

#include "platform/platform.h"
