// Character and view formatting of the Editor control.
#pragma once

#include <windows.h>

// The format a new document is typed in: Courier New, East European
// character set, colour RGB(1, 0, 0), with every member of the editor's
// format mask. Returns false after telling the user of a failure.
bool set_default_font(HWND editor);

// The editing area's background colour.
void set_background_color(HWND editor, COLORREF color);

// Selects the whole text without moving the focus.
void select_all(HWND editor);
