// Small, safe wrappers around the Editor control's selection messages.
// Positions are full 32-bit character positions as the control counts them.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string>
#include <string_view>

CHARRANGE get_selection(HWND editor);

// The character format of the selection (of the insertion point when
// nothing is selected).
CHARFORMAT2A get_selection_format(HWND editor);
void set_selection(HWND editor, LONG first, LONG last);

// The selected text, however long; empty when nothing is selected.
std::string get_selected_text(HWND editor);

// Replaces the selection; the control leaves the caret after the new text.
// The replacement is not offered for undo.
void replace_selection(HWND editor, const std::string& text);

// Puts `before` in front of the selection and `after` behind it, as if the
// selection had been replaced by before + selected text + after, and
// returns the range that the three now take. The selected text itself is
// left in place, so a long selection costs no more than the tags, and
// nothing in it is changed. The tags take the format of the selection's
// first character, as a replacement would give them. The caret is left
// after the inserted text.
CHARRANGE insert_around_selection(HWND editor, std::string_view before, std::string_view after);
