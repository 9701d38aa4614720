#include "editor/edit_recorder.h"

#include <richedit.h>

#include <algorithm>
#include <optional>

#include "editor/editor_text.h"
#include "text/history/edit_pieces.h"
#include "text/unicode/unicode_text.h"

namespace {

EditSelection selection_of(const CHARRANGE& range)
{
    return {range.cpMin, range.cpMax};
}

// Two units that the user sees as one character.
bool is_one_character(std::u16string_view units)
{
    return units.size() == 2 &&
           ((units[0] == u'\r' && units[1] == u'\n') || (is_high_surrogate(units[0]) && is_low_surrogate(units[1])));
}

// The character that Backspace or Delete takes away at the caret, if any.
std::optional<CHARRANGE> character_next_to(HWND editor, LONG caret, bool backward)
{
    if (backward) {
        if (caret <= 0)
            return std::nullopt;
        set_selection(editor, std::max<LONG>(caret - 2, 0), caret);
        const bool whole = is_one_character(get_selected_utf16(editor));
        return CHARRANGE{caret - (whole ? 2 : 1), caret};
    }
    // Never beyond the text: the control's closing paragraph mark is not the user's.
    const LONG end = text_length(editor);
    if (caret >= end)
        return std::nullopt;
    set_selection(editor, caret, std::min(caret + 2, end));
    const bool whole = is_one_character(get_selected_utf16(editor));
    return CHARRANGE{caret, caret + (whole ? 2 : 1)};
}

// What typing put in: the typed units, which the control may have turned
// into more (a line break into a paragraph break), else what it holds there.
std::u16string text_put_in_by_typing(HWND editor, std::u16string_view typed, LONG start, LONG length)
{
    if (typed.size() == static_cast<std::size_t>(length))
        return std::u16string(typed);
    if (typed == u"\r" && length == 2)
        return u"\r\n";
    set_selection(editor, start, start + length);
    std::u16string text = get_selected_utf16(editor);
    set_selection(editor, start + length, start + length);
    return text;
}

Payload payload_of(const Piece& piece)
{
    return Payload{encode_piece(piece)};
}

// A step whose two sides are alike changed nothing: it is left empty.
void drop_if_unchanged(EditStep& step)
{
    if (step.before == step.after) {
        step.before.clear();
        step.after.clear();
    }
}

// Where the text that a command replaced stands whole, in one format, in
// what it put there (a wrap, a format of its own), the step keeps it in
// place: the text around it goes, and it takes its old format again. False
// when that is not the case.
bool fill_in_sides_keeping_middle(HWND editor, const UniformMasks& masks, EditStep& step, const Piece& replaced,
                                  std::u16string_view replaced_text)
{
    const LONG end = step.start + step.inserted_length;
    if (replaced.kind != PieceKind::text || end <= step.start)
        return false;
    set_selection(editor, step.start, end);
    const auto middle = find_unchanged_middle(replaced_text, get_selected_utf16(editor));
    if (!middle)
        return false;
    const LONG kept_start = step.start + static_cast<LONG>(*middle);
    const LONG kept_end = kept_start + replaced.length;
    set_selection(editor, kept_start, kept_end);
    const CHARFORMAT2W format = get_selection_format_w(editor);
    if (!is_uniform(format.dwMask, masks.chars))
        return false;

    step.before = payload_of(kept_piece(replaced.length, replaced.char_format));
    if (kept_start > step.start)
        step.after.push_back(encode_piece(capture_range(editor, masks, step.start, kept_start)));
    step.after.push_back(encode_piece(kept_piece(replaced.length, format_bytes(format))));
    if (end > kept_end)
        step.after.push_back(encode_piece(capture_range(editor, masks, kept_end, end)));
    drop_if_unchanged(step);
    return true;
}

// Fills in both sides of a step that replaced `replaced` (if anything was
// selected) by what now stands in its range.
void fill_in_step_sides(HWND editor, const UniformMasks& masks, EditStep& step, const std::optional<Piece>& replaced,
                        std::u16string_view replaced_text)
{
    if (replaced && fill_in_sides_keeping_middle(editor, masks, step, *replaced, replaced_text))
        return;
    if (replaced)
        step.before = payload_of(*replaced);
    if (step.inserted_length > 0)
        step.after = payload_of(capture_range(editor, masks, step.start, step.start + step.inserted_length));
    drop_if_unchanged(step);
}

} // namespace

EditRecorder::EditRecorder(HistoryLimits limits) : history_(limits) {}

void EditRecorder::attach(HWND editor, std::function<void()> changed)
{
    editor_ = editor;
    changed_ = std::move(changed);
    // Never reached, so never kept: every way to it leads here instead.
    SendMessageW(editor_, EM_SETUNDOLIMIT, 0, 0);
    // What the control reports for one character is what "one format" means.
    const CHARRANGE selected = get_selection(editor_);
    set_selection(editor_, selected.cpMin, selected.cpMin);
    uniform_masks_.chars = get_selection_format_w(editor_).dwMask;
    uniform_masks_.paragraphs = get_paragraph_format(editor_).dwMask;
    set_selection(editor_, selected.cpMin, selected.cpMax);
}

void EditRecorder::record(EditKind kind, const std::function<void()>& edit)
{
    record_span(kind, get_selection(editor_), edit);
}

void EditRecorder::record_span(EditKind kind, CHARRANGE span, const std::function<void()>& edit)
{
    // Even an edit that changes no text may change the caret's format.
    history_.break_coalescing();
    const CHARRANGE selected = get_selection(editor_);
    const CHARRANGE before = span;
    const LONG length_before = text_length(editor_);
    std::u16string before_text;
    std::optional<Piece> replaced;
    const bool span_selected = before.cpMin == selected.cpMin && before.cpMax == selected.cpMax;
    if (before.cpMax > before.cpMin) {
        // Moving a long selection about costs Wine's control a repaint each time.
        RedrawPause pause(editor_);
        if (!span_selected)
            set_selection(editor_, before.cpMin, before.cpMax);
        replaced = capture_selection(editor_, uniform_masks_, &before_text);
        if (!span_selected)
            set_selection(editor_, selected.cpMin, selected.cpMax);
    }

    edit();

    const CHARRANGE after = get_selection(editor_);
    // A command may leave the caret a format of its own for what is typed
    // next; looking at the text around would lose it.
    const CHARFORMAT2W caret_format = get_selection_format_w(editor_);
    const LONG end = before.cpMax + (text_length(editor_) - length_before);
    if (end < before.cpMin) {
        // More went than was selected: what changed is unknown.
        start_unsaved();
        return;
    }
    EditStep step;
    step.kind = kind;
    step.start = before.cpMin;
    step.removed_length = before.cpMax - before.cpMin;
    step.inserted_length = end - before.cpMin;
    step.selection_before = selection_of(selected);
    step.selection_after = selection_of(after);
    {
        RedrawPause pause(editor_);
        fill_in_step_sides(editor_, uniform_masks_, step, replaced, before_text);
        set_selection(editor_, after.cpMin, after.cpMax);
        if (after.cpMin == after.cpMax)
            set_selection_format_w(editor_, caret_format);
    }
    if (!step.before.empty() || !step.after.empty())
        add(std::move(step));
}

bool EditRecorder::rewrite_span(EditKind kind, CHARRANGE span, const SpanRewrite& rewrite,
                                const std::function<void(CHARRANGE written)>& select, const ProgressReport& progress)
{
    history_.break_coalescing();
    const CHARRANGE selected = get_selection(editor_);
    const LONG length_before = text_length(editor_);
    std::u16string text;
    std::optional<Piece> present;
    {
        // Moving a long selection about costs Wine's control a repaint each time.
        RedrawPause pause(editor_);
        set_selection(editor_, span.cpMin, span.cpMax);
        present = capture_selection(editor_, uniform_masks_, &text);
    }
    std::optional<Piece> wanted = rewrite(*present, text);
    if (!wanted) {
        set_selection(editor_, selected.cpMin, selected.cpMax);
        return false;
    }
    EditStep step;
    step.kind = kind;
    step.start = span.cpMin;
    step.removed_length = span.cpMax - span.cpMin;
    step.selection_before = selection_of(selected);
    {
        const bool rebuilt = rebuild_in_fresh_control(span.cpMin, {*present}, {*wanted}, progress);
        RedrawPause pause(editor_);
        if (!rebuilt)
            replace_range_with_pieces(editor_, span.cpMin, step.removed_length, {*wanted}, progress);
        // The control counts what went in, line breaks as it holds them.
        step.inserted_length = span.cpMax + (text_length(editor_) - length_before) - span.cpMin;
        wanted->length = step.inserted_length;
        select({span.cpMin, span.cpMin + step.inserted_length});
    }
    step.selection_after = selection_of(get_selection(editor_));
    step.before = payload_of(*present);
    step.after = payload_of(*wanted);
    add(std::move(step));
    return true;
}

void EditRecorder::record_typing(std::u16string_view typed, const std::function<void()>& typing)
{
    const CHARRANGE before = get_selection(editor_);
    std::optional<Piece> replaced;
    if (before.cpMax > before.cpMin)
        replaced = capture_selection(editor_, uniform_masks_);

    typing();

    const CHARRANGE after = get_selection(editor_);
    if (after.cpMin == before.cpMin && after.cpMax == before.cpMax)
        return; // nothing went in
    const LONG inserted = after.cpMax - before.cpMin;
    if (after.cpMin != after.cpMax || inserted <= 0) {
        // Not what typing does: what changed is unknown.
        start_unsaved();
        return;
    }
    EditStep step;
    step.kind = EditKind::typing;
    step.start = before.cpMin;
    step.removed_length = before.cpMax - before.cpMin;
    step.inserted_length = inserted;
    step.selection_before = selection_of(before);
    step.selection_after = selection_of(after);
    if (replaced)
        step.before = payload_of(*replaced);

    Piece piece{PieceKind::text, inserted, utf16_to_utf8(text_put_in_by_typing(editor_, typed, before.cpMin, inserted)), "", ""};
    // A key that goes on a run is typed in the run's format, which its
    // first key carries; only a new run asks the control for it.
    if (!history_.would_merge(step))
        piece.char_format = format_bytes(get_selection_format_w(editor_));
    step.after = payload_of(piece);
    add(std::move(step));
}

void EditRecorder::delete_character(bool backward)
{
    const CHARRANGE selected = get_selection(editor_);
    CHARRANGE range = selected;
    if (selected.cpMin == selected.cpMax) {
        const auto character = character_next_to(editor_, selected.cpMin, backward);
        if (!character) {
            set_selection(editor_, selected.cpMin, selected.cpMax);
            return;
        }
        range = *character;
    } else {
        // Deleting a selection starts a run of its own.
        history_.break_coalescing();
    }
    set_selection(editor_, range.cpMin, range.cpMax);
    const Piece deleted = capture_selection(editor_, uniform_masks_);
    replace_selection_utf16(editor_, u"");

    EditStep step;
    step.kind = backward ? EditKind::deleting_backward : EditKind::deleting_forward;
    step.start = range.cpMin;
    step.removed_length = range.cpMax - range.cpMin;
    step.before = payload_of(deleted);
    step.selection_before = selection_of(selected);
    step.selection_after = {range.cpMin, range.cpMin};
    add(std::move(step));
}

void EditRecorder::break_run()
{
    history_.break_coalescing();
}

void EditRecorder::text_replaced_from_outside()
{
    start_over(true);
}

bool EditRecorder::is_modified() const
{
    return unsaved_without_history_ || history_.is_modified();
}

void EditRecorder::mark_saved()
{
    history_.mark_saved();
    unsaved_without_history_ = false;
    changed();
}

void EditRecorder::start_new()
{
    start_over(false);
}

void EditRecorder::start_unsaved()
{
    start_over(true);
}

void EditRecorder::start_over(bool unsaved)
{
    if (edited_)
        edited_(std::nullopt);
    history_.clear();
    unsaved_without_history_ = unsaved;
    changed();
}

void EditRecorder::add(EditStep step)
{
    if (edited_)
        edited_(TextEdit{step.start, step.removed_length, step.inserted_length, step.kind == EditKind::typing});
    // A key that goes on a run changes neither what can be undone nor the
    // modified flag, which the run's first key set.
    if (history_.record(std::move(step)) == RecordOutcome::merged) {
        if (changed_)
            changed_();
        return;
    }
    changed();
}

void EditRecorder::changed()
{
    SendMessageW(editor_, EM_SETMODIFY, is_modified(), 0);
    if (changed_)
        changed_();
}
