// The Main window procedure: creates the toolbar and the Editor control,
// keeps them laid out, shows the context menu and hands commands on.
#pragma once

#include <windows.h>

#include "win/window_ids.h"

// Lays the lines out for the printer once the window stands painted:
// PRINT_TARGET_TIMER starts asking for the printer's page on a thread of
// its own, and WM_PRINTER_FOUND brings the answer (printing/PrinterLookup).
inline constexpr UINT PRINT_TARGET_DELAY_MS = 50;

struct MainWindowState;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
