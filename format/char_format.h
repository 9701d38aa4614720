// Character and view formatting of the Editor control.
#pragma once

#include <windows.h>

#include <array>

// Every whole character format the editor applies names these members:
// size, colour, face, character set, background colour, bold, italic,
// underline and strikeout.
inline constexpr DWORD CHAR_FORMAT_MASK = 0xEC00000F;

// The format a new document is typed in: Courier New, East European
// character set, colour RGB(1, 0, 0). Stores CHAR_FORMAT_MASK as the
// process-wide mask. Returns false after telling the user of a failure.
bool set_default_font(HWND editor);

// Bold, italic, underline and strikeout effects of a font the user chose.
DWORD effects_from_logfont(const LOGFONTA& font);

// The font dialog, applied to the selection. Returns false only after
// telling the user that the control refused the format.
bool choose_font(HWND editor);

// The colour dialog, opening on `color` and keeping `custom_colors` between
// calls. Stores the chosen colour; false when the dialog was cancelled.
bool choose_color(HWND owner, COLORREF& color, std::array<COLORREF, 16>& custom_colors);

// The colour dialog for the editing area's background.
void choose_background_color(HWND editor);

// Selects the whole text without moving the focus.
void select_all(HWND editor);
