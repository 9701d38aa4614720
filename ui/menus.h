// Menus built at run time and the state of menu items.
#pragma once

#include <windows.h>

#include <vector>

#include "text/forum/board.h"
#include "win/win_handles.h"

// Appends the "Smajlici" popup to the menu bar, empty: its pictures load
// when it first opens, which a start does not wait for.
void add_smiley_menu(HMENU menu_bar);

// On WM_INITMENUPOPUP: fills the smileys' popup, if that is the popup and
// it is still empty, with a picture of each smiley, loading those not yet
// in `pictures` (which must outlive every menu that shows them). True when
// it filled it.
bool fill_smiley_menu(HMENU popup, HINSTANCE instance, std::vector<OwnedBitmap>& pictures);

// Greys or enables the clipboard, undo and redo items and checks the
// current alignment, in the popup that is about to open.
void refresh_menu_state(HWND editor, HMENU popup, bool can_undo, bool can_redo);

// POZADÍ > Fórum lists the user's boards after the forums' own, and checks
// the chosen board's radio item.
void list_board_items(HWND main_window, const BoardList& boards);
