// Wraps the Editor control's selection in an opening and a closing tag.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string_view>

// What a wrap leaves selected: the insertion, so that the command can format
// it and a second command can wrap it again, or nothing, with the caret
// after the insertion.
enum class AfterWrap { insertion_selected, caret_after };

// Replaces the selection by open_tag + selected text + close_tag and returns
// the range the insertion takes.
CHARRANGE wrap_selection(HWND editor, std::string_view open_tag, std::string_view close_tag, AfterWrap after);
