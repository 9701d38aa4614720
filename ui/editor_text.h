// The one way in and out of the Editor control's text, selection and
// character format. Positions are full 32-bit character positions as the
// control counts them.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string>
#include <string_view>

// The most text the Editor control accepts, typed, pasted or read from a file.
inline constexpr LPARAM EDITOR_TEXT_LIMIT = 0x7FFFFFFE;

// Every whole character format the editor applies names these members:
// size, colour, face, character set, background colour, bold, italic,
// underline and strikeout.
inline constexpr DWORD CHAR_FORMAT_MASK = 0xEC00000F;

CHARRANGE get_selection(HWND editor);
void set_selection(HWND editor, LONG first, LONG last);

// The length of the whole text, as the control counts positions.
LONG text_length(HWND editor);

// The whole text, however long.
std::string get_text(HWND editor);

// The whole text in UTF-16, exactly as the control holds it: asked for in
// Unicode, since a control made as an ANSI window answers WM_GETTEXT (A
// or W) in the program's code page, losing what that cannot hold.
std::wstring get_text_utf16(HWND control);

// The same in UTF-8, however long, as the text logic reads a post.
std::string get_text_utf8(HWND editor);

// The positions that a piece of that UTF-8 text takes up in the control:
// one for each UTF-16 unit, so two for a surrogate pair and for CR LF.
LONG utf16_length(std::string_view utf8);

// The character format of the selection (of the insertion point when
// nothing is selected).
CHARFORMAT2A get_selection_format(HWND editor);
// Returns false when the control refused the format.
bool set_selection_format(HWND editor, const CHARFORMAT2A& format);

// The selected text, however long; empty when nothing is selected.
std::string get_selected_text(HWND editor);

// Replaces the selection; the control leaves the caret after the new text.
// The replacement is not offered for undo.
void replace_selection(HWND editor, std::string_view text);

// Puts `before` in front of the selection and `after` behind it, as if the
// selection had been replaced by before + selected text + after, and
// returns the range that the three now take. The selected text itself is
// left in place, so a long selection costs no more than the tags, and
// nothing in it is changed. The tags take the format of the selection's
// first character, as a replacement would give them. The caret is left
// after the inserted text.
CHARRANGE insert_around_selection(HWND editor, std::string_view before, std::string_view after);

// Keeps the control from painting half-done edits; repaints once at the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND editor);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND editor_;
};
