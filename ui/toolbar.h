// The toolbar across the top of the Main window.
#pragma once

#include <windows.h>

// Creates the toolbar as a child of the Main window and returns it.
HWND create_toolbar(HWND main_window);
