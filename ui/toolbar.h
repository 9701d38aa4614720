// The toolbar across the top of the Main window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win/win_handles.h"

struct Toolbar {
    HWND window = nullptr;
    // The program's own button pictures; the toolbar draws from this bitmap
    // until it is destroyed, so it must outlive the toolbar.
    OwnedBitmap strip;
};

// Creates the toolbar as a child of the Main window, with pictures for the
// window's DPI.
Toolbar create_toolbar(HWND main_window, UINT dpi);

// Fills in the tooltip of a button (TBN_GETINFOTIP), in the language of the
// interface; false for a command with no button.
bool answer_button_tip(NMTBGETINFOTIPW& tip);

// Enables or greys the button of a command.
void enable_button(const Toolbar& toolbar, int command, bool enabled);
