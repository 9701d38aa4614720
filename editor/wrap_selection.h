// Wraps the Editor control's selection in an opening and a closing tag.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string_view>

// Replaces the selection by open_tag + selected text + close_tag and returns
// the range the insertion takes. With keep_selected the insertion is left
// selected, so that the command can format it and a second command can wrap
// it again; otherwise the caret stays after it.
CHARRANGE wrap_selection(HWND editor, std::string_view open_tag, std::string_view close_tag, bool keep_selected);
