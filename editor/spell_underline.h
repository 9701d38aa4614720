// The red zigzag under misspelt words: painted over the Editor control
// right after the control has painted itself, for the words on screen only.
// The document's formats are never touched, so the lines are never
// printed, copied, saved or recorded in the history.
//
// Where a word stands on screen is asked of the control once, and kept: each
// such question costs time in proportion to the text before the word, which
// no key may pay for. A paint draws what is kept; marks that a change may
// have moved are dropped and found again once the input pauses, a few at a
// time.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "text/history/edit_history.h"

// Where a mark's zigzag stands on one line; a word broken over two lines
// has two.
struct MarkBand {
    TextRange range;
    int left = 0;
    int right = 0;
    int bottom = 0;
};

// The scroll position and size of the control that kept bands belong to.
struct MarkView {
    int horizontal = 0;
    int vertical = 0;
    int width = 0;
    int height = 0;
    bool operator==(const MarkView&) const = default;
};

struct SpellMarks {
    // The misspelt words, in order, as the control counts positions.
    std::vector<TextRange> misspelt;
    bool shown = true;
    // The word the user is typing: it waits until the caret leaves it, so
    // that a word half typed never flashes red.
    std::optional<TextRange> held;
    // Where the visible marks found so far stand, in the order of their text.
    std::vector<MarkBand> bands;
    MarkView view;
    // The characters on screen, once asked for; an edit or a scroll forgets them.
    std::optional<TextRange> visible;
    // When the marks last moved (GetTickCount), and whether the timer that
    // finds them is set: a key only notes the time.
    DWORD moved_at = 0;
    bool finding_due = false;
};

// What the Editor control's subclass (editor/editor_subclass.h) does for the
// marks, which it points to.
//
// Before a paint: the area the control is about to paint, when it may hold
// marks to draw; nothing otherwise.
std::optional<RECT> area_to_mark(HWND editor, const SpellMarks& marks);
// After the control has painted that area: the zigzags in it.
void mark_painted_area(HWND editor, SpellMarks& marks, const RECT& painted);
// The timer that finds the marks on screen once the input pauses; false
// for any other timer.
bool on_marks_timer(HWND editor, SpellMarks& marks, UINT_PTR timer);
// After a key release, a click or the focus going elsewhere: the word held
// back while it was typed shows once the caret has left it.
void release_held_word(HWND editor, SpellMarks& marks);
// The control goes, and the finding with it.
void stop_finding_marks(HWND editor);

// The misspelt word under a point of the control's client area, if any.
std::optional<TextRange> misspelling_at(HWND editor, const SpellMarks& marks, POINT point);

// A key typed or deleted at `position`: the marks from there on may have
// moved, and the control repaints where they stood itself. Before the
// position, nothing moves.
void marks_moved_after_key(HWND editor, SpellMarks& marks, LONG position);

// The text changed otherwise (a command, undo, a new text): every zigzag is
// wiped, and the marks on screen are found again.
void marks_moved(HWND editor, SpellMarks& marks);

// `misspelt` holds new marks for the same text: the zigzags of the marks
// that went are wiped, and the new ones found.
void marks_replaced(HWND editor, SpellMarks& marks);
