// Wraps the Editor control's selection in an opening and a closing tag.
#pragma once

#include <windows.h>

#include <string_view>

// Replaces the selection by open_tag + selected text + close_tag. While
// select_after_wrap is on, the inserted text is left selected (so that the
// next command can format or wrap it) and format_reset_pending is armed;
// otherwise the caret stays after the insertion and the reset is disarmed.
void wrap_selection(HWND editor, std::string_view open_tag, std::string_view close_tag);
