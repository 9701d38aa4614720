// Character and view formatting of the Editor control.
#pragma once

#include <windows.h>

#include <array>

// A colour dialog's choice and its sixteen custom colours, remembered
// between one opening and the next.
struct ColorChoice {
    COLORREF color = 0;
    std::array<COLORREF, 16> custom_colors{};
};

// The format a new document is typed in: Courier New, East European
// character set, colour RGB(1, 0, 0), with every member of the editor's
// format mask. Returns false after telling the user of a failure.
bool set_default_font(HWND editor);

// Bold, italic, underline and strikeout effects of a font the user chose.
DWORD effects_from_logfont(const LOGFONTA& font);

// The font dialog, applied to the selection. Returns false when the dialog
// was cancelled, or after telling the user that the control refused the
// format.
bool choose_font(HWND editor);

// The colour dialog, opening on the remembered choice. Stores the chosen
// colour; false when the dialog was cancelled.
bool choose_color(HWND owner, ColorChoice& choice);

// The colour dialog for the editing area's background; false when cancelled.
bool choose_background_color(HWND editor, ColorChoice& background);

// Selects the whole text without moving the focus.
void select_all(HWND editor);
