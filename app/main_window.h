// The Main window procedure: creates the toolbar and the Editor control,
// keeps them laid out, shows the context menu and hands commands on.
#pragma once

#include <windows.h>

// Lays the lines out for the printer once the window stands painted: the
// timer starts asking for the printer's page on a thread of its own, and
// the message brings the answer (printing/PrinterLookup).
inline constexpr UINT_PTR PRINT_TARGET_TIMER = 5; // 1 to 4 are the review's, recovery's and spelling's
inline constexpr UINT PRINT_TARGET_DELAY_MS = 50;
inline constexpr UINT WM_PRINTER_FOUND = WM_APP + 70;

struct MainWindowState;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
