// Undo and redo: a recorded step's range is made to hold its other side
// again, in place or, for a large step, in a fresh control.
#include "editor/edit_recorder.h"

#include <richedit.h>

#include <algorithm>
#include <iterator>

#include "editor/editor_text.h"
#include "text/history/edit_pieces.h"

bool EditRecorder::undo(const ProgressReport& progress)
{
    const EditStep* step = history_.undo();
    return step && restore_step_side(*step, step->after, step->before, step->selection_before, progress);
}

bool EditRecorder::redo(const ProgressReport& progress)
{
    const EditStep* step = history_.redo();
    return step && restore_step_side(*step, step->before, step->after, step->selection_after, progress);
}

bool EditRecorder::rebuild_in_fresh_control(std::int32_t start, const std::vector<Piece>& present,
                                            std::vector<Piece> wanted, const ProgressReport& progress)
{
    const auto keeps = [](const Piece& piece) { return piece.kind == PieceKind::keep; };
    if (!renew_control_ || paragraph_breaks(present) < SLOW_DELETION_BREAKS ||
        std::any_of(present.begin(), present.end(), keeps) || std::any_of(wanted.begin(), wanted.end(), keeps))
        return false;
    // The document as it is to be: what stands before the range, the wanted
    // pieces, what stands after it.
    const LONG end = start + static_cast<LONG>(pieces_length(present));
    const LONG length = text_length(editor_);
    std::vector<Piece> document;
    {
        RedrawPause pause(editor_);
        if (start > 0)
            document.push_back(capture_range(editor_, uniform_masks_, 0, start));
        document.insert(document.end(), std::make_move_iterator(wanted.begin()),
                        std::make_move_iterator(wanted.end()));
        if (end < length)
            document.push_back(capture_range(editor_, uniform_masks_, end, length));
    }
    // A fresh control attaches itself to this recorder.
    if (!renew_control_())
        return false;
    RedrawPause pause(editor_);
    replace_range_with_pieces(editor_, 0, 0, document, progress);
    return true;
}

bool EditRecorder::restore_step_side(const EditStep& step, const Payload& present, const Payload& wanted,
                                     const EditSelection& selection, const ProgressReport& progress)
{
    const auto present_pieces = decode_payload(present);
    const auto wanted_pieces = decode_payload(wanted);
    const bool rebuilt = present_pieces && wanted_pieces &&
                         rebuild_in_fresh_control(step.start, *present_pieces, *wanted_pieces, progress);
    if (!rebuilt && !replace_range_contents(editor_, step.start, present, wanted, progress)) {
        start_unsaved();
        return false;
    }
    if (edited_) {
        const bool undoing = &present == &step.after;
        edited_(TextEdit{step.start, undoing ? step.inserted_length : step.removed_length,
                         undoing ? step.removed_length : step.inserted_length});
    }
    set_selection(editor_, std::min(selection.anchor, selection.caret), std::max(selection.anchor, selection.caret));
    SendMessageW(editor_, EM_SCROLLCARET, 0, 0);
    changed();
    return true;
}
