// Decides whether a picked folder is a plausible environment root by the
// marker files and folders below it.
#pragma once

#include "environment/path_buffer.h"

bool validateAdtRoot(const PathBuffer& root);
bool validateEclipseRoot(const PathBuffer& root);
bool validateSdkRoot(const PathBuffer& root);
