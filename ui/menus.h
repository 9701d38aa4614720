// Menus built at run time and the state of menu items.
#pragma once

#include <windows.h>

#include <vector>

#include "text/forum/board.h"
#include "win/win_handles.h"

// Appends the "Smajlici" popup of smiley pictures to the menu bar. The
// pictures it returns must outlive the menu.
std::vector<OwnedBitmap> build_smiley_menu(HWND main_window, HINSTANCE instance);

// Greys or enables the clipboard, undo and redo items and checks the
// current alignment, in the popup that is about to open.
void refresh_menu_state(HWND editor, HMENU popup, bool can_undo, bool can_redo);

// POZADÍ > Fórum lists the user's boards after the forums' own, and checks
// the chosen board's radio item.
void list_board_items(HWND main_window, const BoardList& boards);
