// The editor's own undo history of one document. The rich-edit control's
// undo cannot group several edits into one step, and the program's commands
// replace text in ways that empty it, so the Windows side records every edit
// here instead: the range it replaced, what stood there before and after
// (RTF or plain text, opaque to the history) and the selection around it.
// Pure logic: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

enum class EditKind {
    typing,
    deleting_backward, // Backspace
    deleting_forward,  // Delete
    clipboard,         // paste, cut, drag and drop
    command,           // the program's markup and text commands
    format,            // character format only; the text stays
};

// Character positions as the control counts them (32-bit, like its LONG).
struct TextRange {
    std::int32_t start = 0;
    std::int32_t length = 0;
    bool operator==(const TextRange&) const = default;
};

// The caret is the end that moves; anchor == caret when nothing is selected.
struct EditSelection {
    std::int32_t anchor = 0;
    std::int32_t caret = 0;
    bool operator==(const EditSelection&) const = default;
};

// The content of one range, as pieces that stand one after another in the
// document. A recorded edit has one piece; a coalesced run keeps its edits'
// pieces, so that neither the history nor the caller ever has to join two
// RTF fragments. Restoring a payload means inserting its pieces in order.
// (A deque, so that a Backspace run can put each piece in front in O(1).)
using Payload = std::deque<std::string>;

// One undoable step: `removed_length` characters at `start` were replaced by
// `inserted_length` characters at the same start.
//   Undo: replace range_after() by the pieces of `before`, then select
//         selection_before.
//   Redo: replace range_before() by the pieces of `after`, then select
//         selection_after.
struct EditStep {
    EditKind kind = EditKind::command;
    std::int32_t start = 0;
    std::int32_t removed_length = 0;
    std::int32_t inserted_length = 0;
    Payload before; // what range_before() held before the step
    Payload after;  // what range_after() holds after it
    EditSelection selection_before;
    EditSelection selection_after;

    TextRange range_before() const { return {start, removed_length}; }
    TextRange range_after() const { return {start, inserted_length}; }
};

struct HistoryLimits {
    std::size_t max_steps = 1000;
    // Payload bytes plus a fixed cost per step and per piece, so that many
    // tiny steps are held to the budget as well.
    std::size_t max_bytes = std::size_t{64} << 20;
};

enum class RecordOutcome {
    added,    // a new step on top
    merged,   // joined to the step on top, which is still one undo
    not_kept, // larger than the whole budget: nothing is left to undo
};

class EditHistory {
public:
    explicit EditHistory(HistoryLimits limits = {});

    // Records an edit the document has just undergone. Typing, Backspace and
    // Delete edits join the step on top while their run goes on: the same
    // kind, no break_coalescing(), undo, redo or mark_saved() since, and
    // adjoining it. Typing adjoins when it inserts, replacing nothing, where
    // the last insertion ended; Backspace when it deletes just before the
    // last deletion; Delete when it deletes at the same place. Any other
    // edit, and any switch of kind, starts a new step. A new step after an
    // undo drops the steps that could have been redone.
    RecordOutcome record(EditStep step);

    // What record() would do with `step`, without doing it.
    bool would_merge(const EditStep& step) const;

    // The caret moved (or anything else happened that the next keystroke
    // should not be undone together with): the next edit is a new step.
    void break_coalescing();

    // The step to revert, or to apply again, and the cursor moves past it;
    // nullptr when there is none. The pointer stays valid until the next
    // call that changes the history.
    const EditStep* undo();
    const EditStep* redo();

    bool can_undo() const { return cursor_ > 0; }
    bool can_redo() const { return cursor_ < steps_.size(); }
    std::size_t undo_count() const { return cursor_; }
    std::size_t redo_count() const { return steps_.size() - cursor_; }
    // The step that undo() would give, or nullptr.
    const EditStep* top() const { return can_undo() ? &steps_[cursor_ - 1] : nullptr; }
    // The step that redo() would give, or nullptr.
    const EditStep* next() const { return can_redo() ? &steps_[cursor_] : nullptr; }

    // The document as it stands now is the saved one.
    void mark_saved();
    // False exactly when the document stands where it stood at the last
    // mark_saved() (or clear()). Once the steps leading back there are gone,
    // it stays true until the next mark.
    bool is_modified() const;

    // Forgets every step; the empty or freshly opened document is unmodified.
    void clear();

    std::size_t memory_bytes() const { return bytes_; }
    const HistoryLimits& limits() const { return limits_; }

private:
    // Positions count every step ever recorded since clear(), so that
    // dropping the oldest ones does not move the saved position.
    std::uint64_t position() const { return dropped_ + cursor_; }
    void drop_redo_branch();
    void drop_oldest();
    void keep_within_limits();

    HistoryLimits limits_;
    std::deque<EditStep> steps_;
    std::size_t cursor_ = 0;   // steps_[0, cursor_) are applied
    std::uint64_t dropped_ = 0; // steps dropped from the front since clear()
    std::size_t bytes_ = 0;
    bool run_open_ = false; // the top step may still take the next keystroke
    std::optional<std::uint64_t> saved_ = 0; // nullopt: no way back to it
};

// The bytes a step counts against HistoryLimits::max_bytes.
std::size_t edit_step_bytes(const EditStep& step);
