// The red zigzag under misspelt words: painted over the Editor control
// right after the control has painted itself, for the words on screen only.
// The document's formats are never touched, so the lines are never
// printed, copied, saved or recorded in the history.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "text/edit_history.h"

struct SpellMarks {
    // The misspelt words, in order, as the control counts positions.
    std::vector<TextRange> misspelt;
    bool shown = true;
    // The word the user is typing: it waits until the caret leaves it, so
    // that a word half typed never flashes red.
    std::optional<TextRange> held;
};

// Paints the marks after each paint of the control, from a subclass of
// its own. `marks` must outlive the control. False when the platform
// refused.
bool install_spell_underline(HWND editor, SpellMarks& marks);

// The misspelt word under a point of the control's client area, if any.
std::optional<TextRange> misspelling_at(HWND editor, const SpellMarks& marks, POINT point);

// Repaints where each of the ranges stands, so that lines that went are
// wiped and new ones drawn.
void repaint_ranges(HWND editor, const std::vector<TextRange>& ranges);
