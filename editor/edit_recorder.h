// The document's undo history on the Editor control. Every edit, whether a
// command of the program or the user's typing, is carried out through the
// recorder, which notes what the edited range held before and after (see
// editor/range_pieces.h) as one step of an EditHistory, and puts it back on
// undo and redo. The control's own undo is switched off: it cannot make one
// step of a command's several edits, and the commands' edits empty it.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "editor/range_pieces.h"
#include "text/history/edit_history.h"

// A change of the text as the recorder saw it: `removed` characters at
// `start` became `inserted` ones.
struct TextEdit {
    std::int32_t start = 0;
    std::int32_t removed = 0;
    std::int32_t inserted = 0;
    bool typing = false;
};

class EditRecorder {
public:
    explicit EditRecorder(HistoryLimits limits = {});
    EditRecorder(const EditRecorder&) = delete;
    EditRecorder& operator=(const EditRecorder&) = delete;

    // Records the edits of this control from now on. `changed` runs after
    // anything that may change what can be undone or redone, or whether the
    // document is modified.
    void attach(HWND editor, std::function<void()> changed);
    // What runs after each change: a control that takes this one's place
    // is attached with it too.
    const std::function<void()>& listener() const { return changed_; }

    // An edit, undo or redo that takes out many paragraphs builds the
    // document anew in the control `renew` puts in place of the present one
    // (attached to this recorder, empty; nothing when none could be made):
    // Wine's control takes time in the square of the paragraphs it deletes.
    void renew_control_with(std::function<HWND()> renew) { renew_control_ = std::move(renew); }

    // `edited` runs after each change of the text made or put back through
    // the recorder, and with nothing when the whole text changed otherwise
    // (a new, opened or restored document), so that what is kept about
    // places in the text can follow it.
    void observe_edits(std::function<void(const std::optional<TextEdit>&)> edited) { edited_ = std::move(edited); }

    // Carries out `edit`, which changes the selected text only (replaces it,
    // formats it, or both, and may select anything afterwards), and records
    // it as one step; nothing when it left the document as it was.
    void record(EditKind kind, const std::function<void()>& edit);

    // Carries out `edit`, which changes nothing outside `span` (it may make
    // it longer or shorter), and records it as one step that puts the
    // present selection back on undo.
    void record_span(EditKind kind, CHARRANGE span, const std::function<void()>& edit);

    // What a span holds, as a step keeps it, and its text, made into what is
    // to stand there instead, its length as the control will count it;
    // nothing leaves the span as it is.
    using SpanRewrite = std::function<std::optional<Piece>(const Piece& present, std::u16string_view text)>;

    // Puts what `rewrite` makes of `span` in its place, then has `select`
    // select what is to be selected, given the range the new content takes;
    // recorded as one step that puts the present selection back on undo.
    // The span is read once and written once, however long. False, with
    // nothing changed, when `rewrite` made nothing of it.
    bool rewrite_span(EditKind kind, CHARRANGE span, const SpanRewrite& rewrite,
                      const std::function<void(CHARRANGE written)>& select, const ProgressReport& progress = {});

    // Carries out `typing`, which puts `typed` in place of the selection and
    // leaves the caret after it, and records it. Keys typed one after another
    // are one step.
    void record_typing(std::u16string_view typed, const std::function<void()>& typing);

    // Backspace (backward) or Delete: deletes the selection, or else the
    // character before or after the caret (a surrogate pair or a paragraph
    // break whole). A run of either is one step.
    void delete_character(bool backward);

    // The caret moved: what is typed next is a step of its own.
    void break_run();

    // The whole text was replaced without the recorder (set from outside):
    // nothing before can be undone, and the text is not the saved one.
    void text_replaced_from_outside();

    // Both return false when there is nothing to undo or redo. `progress`
    // hears how far a long one has got.
    bool undo(const ProgressReport& progress = {});
    bool redo(const ProgressReport& progress = {});
    bool can_undo() const { return history_.can_undo(); }
    bool can_redo() const { return history_.can_redo(); }
    // The characters that undo or redo would take out and put in: the work
    // it will do.
    std::uint64_t undo_size() const { return step_size(history_.top()); }
    std::uint64_t redo_size() const { return step_size(history_.next()); }

    // Whether the document differs from the one last opened or saved.
    bool is_modified() const;
    // The document was saved as it stands.
    void mark_saved();
    // A new or freshly opened document: no history, unmodified.
    void start_new();
    // A document put back from a recovery copy: no history, modified.
    void start_unsaved();

    std::size_t memory_bytes() const { return history_.memory_bytes(); }

private:
    static std::uint64_t step_size(const EditStep* step)
    {
        if (!step)
            return 0;
        return static_cast<std::uint64_t>(step->removed_length) + static_cast<std::uint64_t>(step->inserted_length);
    }
    void add(EditStep step);
    // Undo or redo of `step`: its range, which holds one side of it
    // (`present`), is made to hold the other (`wanted`) again, and
    // `selection` is selected. False, with the history forgotten, when the
    // step cannot be read.
    bool restore_step_side(const EditStep& step, const Payload& present, const Payload& wanted,
                           const EditSelection& selection, const ProgressReport& progress);
    // Puts `wanted` in place of the range at `start` that holds `present`
    // by building the document anew in a fresh control; false, with nothing
    // changed, when that is not the faster way.
    bool rebuild_in_fresh_control(std::int32_t start, const std::vector<Piece>& present, std::vector<Piece> wanted,
                                  const ProgressReport& progress);
    // No history, and unmodified or not: what a new, an opened or a
    // recovered document, and a history that cannot be read, start from.
    void start_over(bool unsaved);
    void changed();

    HWND editor_ = nullptr;
    std::function<void()> changed_;
    std::function<void(const std::optional<TextEdit>&)> edited_;
    std::function<HWND()> renew_control_;
    EditHistory history_;
    // The text no longer matches the saved one and never will again through
    // undo or redo.
    bool unsaved_without_history_ = false;
    UniformMasks uniform_masks_;
};
