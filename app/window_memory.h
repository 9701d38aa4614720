// The Main window opens where the user left it: its size, its place, its
// maximized state and the preview's share of the width are kept when it
// closes and brought back at the next start.
#pragma once

#include <windows.h>

#include <optional>

#include "app/settings.h"

struct MainWindowState;

// The screen rectangle to create the Main window in, as it was kept when
// it last closed (load_window_memory), so that a normal start sizes it, and
// lays it out, only once. None for the default place and size: nothing was
// kept, or the place is on no monitor now.
std::optional<RECT> first_place(const std::optional<WindowMemory>& memory);

// Shows the Main window as it was last closed, or at its default place and
// size. A window left maximized opens maximized unless the program was
// started otherwise (minimized, say).
void show_main_window(HWND window, const std::optional<WindowMemory>& memory, int show_command);

// Keeps the window's place and the preview's share for the next start.
void remember_main_window(HWND window, const MainWindowState& state);
