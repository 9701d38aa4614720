// A colour tag around the selection.
#pragma once

#include <windows.h>

#include <string_view>

// Replaces the selection by open_tag + RRGGBB + "] " + selected text +
// close_tag, and selects all of it.
void insert_color_tag(HWND editor, COLORREF color, std::string_view open_tag, std::string_view close_tag);
