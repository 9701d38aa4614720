// Every command, from menu, context menu, shortcut or toolbar, goes through here.
#pragma once

#include <windows.h>

void dispatch_command(HWND main_window, WORD command);
