// The Main window procedure: creates the toolbar and the Editor control,
// keeps them laid out, shows the context menu and hands commands on.
#pragma once

#include <windows.h>

// Lays the lines out for the printer once the window stands painted and
// idle: asking the printer for its page is no part of the first paint.
inline constexpr UINT_PTR PRINT_TARGET_TIMER = 5; // 1 to 4 are the review's, recovery's and spelling's
inline constexpr UINT PRINT_TARGET_DELAY_MS = 50;

struct MainWindowState;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
