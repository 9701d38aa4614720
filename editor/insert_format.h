// The format that makes inserted markup stand out, and the plain format.
#pragma once

#include <windows.h>

// Text colour and effects of an insertion, always on a white background.
struct InsertFormat {
    BYTE red, green, blue;
    bool bold, italic, underline;
};

inline constexpr InsertFormat PLAIN_FORMAT{0, 0, 0, false, false, false};

// Gives the selection (or the insertion point) the text colour and the
// bold, italic and underline effects, on a white background, keeping its
// face, character set, pitch and strikeout. Returns false after telling the
// user that the control refused the format.
bool apply_insert_format(HWND editor, const InsertFormat& format);

// The same, colour and effects given one by one; only the low 8 bits of each
// colour argument count.
bool apply_insert_format(HWND editor, int red, int green, int blue, int bold, int italic, int underline);

inline bool apply_plain_format(HWND editor)
{
    return apply_insert_format(editor, PLAIN_FORMAT);
}
