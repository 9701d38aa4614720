// A colour tag with a colour picked in the colour dialog.
#pragma once

#include <windows.h>

#include <string_view>

// Shows the colour dialog (owned by owner) and replaces the selection by
// open_tag + RRGGBB + "] " + selected text + close_tag, all selected.
// Returns false when the dialog was closed without a choice.
bool tag_color_dialog(HWND owner, HWND editor, std::string_view open_tag, std::string_view close_tag);
