// Menus built at run time and the state of menu items.
#pragma once

#include <windows.h>

#include <vector>

#include "text/forum/forum_profile.h"
#include "win/win_handles.h"

// Appends the "Smajlici" popup of smiley pictures to the menu bar. The
// pictures it returns must outlive the menu.
std::vector<OwnedBitmap> build_smiley_menu(HWND main_window, HINSTANCE instance);

// Greys or enables the clipboard, undo and redo items and checks the
// current alignment, in the popup that is about to open.
void refresh_menu_state(HWND editor, HMENU popup, bool can_undo, bool can_redo);

// Checks the chosen forum's radio item in POZADÍ > Fórum.
void check_forum_item(HWND main_window, ForumProfileId forum);
