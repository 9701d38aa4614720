// The one way in and out of the Editor control's text, selection and
// character format. Positions are full 32-bit character positions as the
// control counts them.
//
// Messages to the Editor control may be A calls: the RICHEDIT 1.0 class is
// an ANSI window under Wine, and a message that carries no text means the
// same either way. Text goes in and out only through the W messages that
// carry UTF-16 whole (EM_GETTEXTEX, EM_SETTEXTEX, the W character formats);
// the control's 8-bit text messages would turn what the code page lacks
// into "?".
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "win/progress.h"

// The most text the Editor control accepts, typed, pasted or read from a file.
inline constexpr LPARAM EDITOR_TEXT_LIMIT = 0x7FFFFFFE;

// From about this many paragraphs on, a new control is far quicker than
// taking the text out of the old one: Wine's control joins the paragraphs
// of a deletion one by one, each time walking the document from its start
// (1 MB of 10,000 lines takes 13 to 38 s), but frees them at once when it
// is destroyed.
inline constexpr std::size_t SLOW_DELETION_BREAKS = 1000;

// Lengths handed to the control for layout and printing are in twips.
inline constexpr int TWIPS_PER_INCH = 1440;

// Every whole character format the editor applies names these members:
// size, colour, face, character set, background colour, bold, italic,
// underline and strikeout.
inline constexpr DWORD CHAR_FORMAT_MASK = 0xEC00000F;

CHARRANGE get_selection(HWND editor);
void set_selection(HWND editor, LONG first, LONG last);

// Text goes in and out as UTF-8, every character kept: the control holds
// UTF-16 and its positions count UTF-16 units.

// The length of the whole text, as the control counts positions.
LONG text_length(HWND editor);

// The whole text, however long.
std::string get_text(HWND editor);
std::u16string get_text_utf16(HWND editor);

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

// The same in the control's own units, for text read from it that must go
// back exactly (one unit, one position).
std::u16string get_selected_utf16(HWND editor);
void replace_selection_utf16(HWND editor, std::u16string_view text);

// Units put in in one message when a long text goes in in slices: a post
// of ordinary length goes in whole, and time grows out of proportion only
// far beyond it (200,000 units: 0.8 s in one message, 0.45 s in slices).
inline constexpr std::size_t INSERT_SLICE = 65536;

// The same for a text of any length, a slice at a time: Wine's control takes
// time out of all proportion to put a long text in in one message (55 s
// for 2 MB, 4 s in slices). Each slice takes the format the one before it
// got, the first one the format of the first character it replaces, as one
// replacement would give it. `progress` hears of each slice.
void replace_selection_in_slices(HWND editor, std::u16string_view text, const ProgressReport& progress = {});


// Every character format member, the face name in UTF-16: what a range had
// and must have again.
CHARFORMAT2W get_selection_format_w(HWND editor);
bool set_selection_format_w(HWND editor, const CHARFORMAT2W& format);

// The same, a few thousand characters at a time: Wine's control takes time
// out of all proportion to give a long range one format in one message (over
// a minute for 600,000 characters, about a second in slices). The selection
// is left as it was; false when the control refused a slice.
bool set_selection_format_in_slices(HWND editor, const CHARFORMAT2A& format);
bool set_selection_format_w_in_slices(HWND editor, const CHARFORMAT2W& format);

// The paragraph format of the selected paragraphs; its mask leaves out
// what they do not share.
PARAFORMAT2 get_paragraph_format(HWND editor);
bool set_paragraph_format(HWND editor, const PARAFORMAT2& format);

// Puts characters typed on the keyboard in place of the selection, as the
// control's own typing does, undo included.
void insert_typed_text(HWND editor, std::u16string_view typed);

// Puts `before` in front of the selection and `after` behind it, as if the
// selection had been replaced by before + selected text + after, and
// returns the range that the three now take. The selected text itself is
// left in place, so a long selection costs no more than the tags, and
// nothing in it is changed. The tags take the format of the selection's
// first character, as a replacement would give them. The caret is left
// after the inserted text.
CHARRANGE insert_around_selection(HWND editor, std::string_view before, std::string_view after);

// The control's own stream of its content (EM_STREAMOUT) in the given
// format, whole; nothing when the control stopped it.
std::optional<std::string> stream_out(HWND editor, WPARAM format);
// Puts bytes into the control through its stream (EM_STREAMIN). RTF goes
// through the pre-scan first (text/rtf/rtf_prescan.h), wherever it came from,
// since the control crashes on some documents instead of refusing them:
// what the scan refuses never reaches the control, and false says so.
// `progress` hears how many bytes it has read.
bool stream_in(HWND editor, std::string_view bytes, WPARAM format, const ProgressReport& progress = {});

// The whole document, or the selection, as RTF that keeps every character;
// nothing when the control could not write it.
std::optional<std::string> get_rtf(HWND editor, bool selection_only);

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
