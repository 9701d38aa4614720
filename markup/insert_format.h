// The format that makes inserted markup stand out, and the plain format.
#pragma once

#include <windows.h>

// Gives the selection (or the insertion point) the text colour and the
// bold, italic and underline effects, on a white background, keeping its
// face, character set, pitch and strikeout. Only the low 8 bits of each
// colour argument count. Returns false after telling the user that the
// control refused the format.
bool apply_insert_format(HWND editor, int red, int green, int blue, int bold, int italic, int underline);

inline bool apply_plain_format(HWND editor)
{
    return apply_insert_format(editor, 0, 0, 0, 0, 0, 0);
}
