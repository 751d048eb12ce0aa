#include "dialog/main_dialog.h"

void* gInstance = nullptr;

void runMainDialog() {}
