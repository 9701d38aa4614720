// The format that makes inserted markup stand out, and the plain format.
#pragma once

#include <windows.h>

// Text colour and effects of an insertion, always on a white background.
struct InsertFormat {
    COLORREF color = RGB(0, 0, 0);
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// Plain black text, and the blue of links, addresses and smileys.
inline constexpr InsertFormat PLAIN_FORMAT{};
inline constexpr InsertFormat LINK_FORMAT{.color = RGB(0, 0, 255)};

// Gives the selection (or the insertion point) the text colour and the
// bold, italic and underline effects, on a white background, keeping its
// face, character set, pitch and strikeout. Returns false after telling the
// user that the control refused the format.
bool apply_insert_format(HWND editor, const InsertFormat& format);

// The same without a word to the user and leaving the keyboard where it
// is, for a command run from a dialog that stays open; false when the
// control refused the format.
bool set_insert_format(HWND editor, const InsertFormat& format);

// Adds a look to the selection as nested markup takes it: the effects the
// look has are switched on, its colour (when not black) replaces the one
// there, and everything else stays. False when the control refused it.
bool add_insert_look(HWND editor, const InsertFormat& look);

inline bool apply_plain_format(HWND editor)
{
    return apply_insert_format(editor, PLAIN_FORMAT);
}
