#include "app/command_dispatch.h"

void dispatch_command(HWND, WORD) {}
