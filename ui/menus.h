// Menus built at run time and the state of menu items.
#pragma once

#include <windows.h>

// Appends the "Smajlici" popup of smiley pictures to the menu bar.
BOOL build_smiley_menu(HWND main_window);

// Greys or enables the clipboard and undo items and checks the current
// alignment, in the popup that is about to open.
void refresh_menu_state(HWND editor, HMENU popup);
