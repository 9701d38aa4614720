// Small, safe wrappers around the Editor control's selection messages.
// Positions are full 32-bit character positions as the control counts them.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string>
#include <string_view>

CHARRANGE get_selection(HWND editor);
void set_selection(HWND editor, LONG first, LONG last);

// The selected text, however long; empty when nothing is selected.
std::string get_selected_text(HWND editor);

// Replaces the selection; the control leaves the caret after the new text.
// The replacement is not offered for undo.
void replace_selection(HWND editor, const std::string& text);
