// The Main window opens where the user left it: its size, its place, its
// maximized state and the preview's share of the width are kept when it
// closes and brought back at the next start.
#pragma once

#include <windows.h>

struct MainWindowState;

// Shows the Main window as it was last closed, or at its default place and
// size when nothing is kept or the place is on no monitor now. A window
// left maximized opens maximized unless the program was started otherwise
// (minimized, say).
void show_main_window(HWND window, MainWindowState& state, int show_command);

// Keeps the window's place and the preview's share for the next start.
void remember_main_window(HWND window, const MainWindowState& state);
