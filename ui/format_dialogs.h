// The font and colour dialogs, and what their choice changes in the Editor
// control.
#pragma once

#include <windows.h>

#include <array>

// A colour dialog's choice and its sixteen custom colours, remembered
// between one opening and the next.
struct ColorChoice {
    COLORREF color = 0;
    std::array<COLORREF, 16> custom_colors{};
};

// Bold, italic, underline and strikeout effects of a font the user chose.
DWORD effects_from_logfont(const LOGFONTW& font);

// The font dialog, applied to the selection. Returns false when the dialog
// was cancelled, or after telling the user that the control refused the
// format.
bool choose_font(HWND editor);

// The colour dialog, opening on the remembered choice. Stores the chosen
// colour; false when the dialog was cancelled.
bool choose_color(HWND owner, ColorChoice& choice);

// The colour dialog for the editing area's background; false when cancelled.
bool choose_background_color(HWND editor, ColorChoice& background);
