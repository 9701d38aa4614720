#include "editor/edit_recorder.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "text/edit_pieces.h"
#include "text/unicode_text.h"
#include "editor/editor_text.h"

namespace {

struct FullMasks {
    DWORD chars;
    DWORD paragraphs;
};

template <typename Format>
std::string bytes_of(const Format& format)
{
    return std::string(reinterpret_cast<const char*>(&format), sizeof format);
}

template <typename Format>
std::optional<Format> format_from(std::string_view bytes)
{
    if (bytes.size() != sizeof(Format))
        return std::nullopt;
    Format format;
    std::memcpy(&format, bytes.data(), sizeof format);
    return format;
}

bool is_uniform(DWORD mask, DWORD full)
{
    return (mask & full) == full;
}

bool holds_paragraph_break(std::u16string_view text)
{
    return text.find_first_of(u"\r\n\v") != std::u16string_view::npos;
}

// An embedded object shows as U+FFFC in the text; only RTF carries it.
bool holds_object(std::u16string_view text)
{
    return text.find(u'\uFFFC') != std::u16string_view::npos;
}

EditSelection selection_of(const CHARRANGE& range)
{
    return {range.cpMin, range.cpMax};
}

CHARFORMAT2W first_character_format(HWND editor, const CHARRANGE& range)
{
    set_selection(editor, range.cpMin, range.cpMin + 1);
    const CHARFORMAT2W format = get_selection_format_w(editor);
    set_selection(editor, range.cpMin, range.cpMax);
    return format;
}

// What the selected range holds: its text and its one format where it has
// one, else its RTF. `text`, if given, receives the text either way.
Piece capture_selection(HWND editor, const FullMasks& masks, std::u16string* text = nullptr)
{
    const CHARRANGE range = get_selection(editor);
    const std::u16string content = get_selected_utf16(editor);
    const CHARFORMAT2W chars = get_selection_format_w(editor);
    const bool breaks = holds_paragraph_break(content);
    const bool one_char_format = is_uniform(chars.dwMask, masks.chars) && !holds_object(content);
    // Paragraph formats matter only where the range holds paragraphs, or
    // where the RTF reader makes them anew.
    std::optional<PARAFORMAT2> paragraphs;
    if (breaks || !one_char_format) {
        const PARAFORMAT2 format = get_paragraph_format(editor);
        if (is_uniform(format.dwMask, masks.paragraphs))
            paragraphs = format;
    }

    const bool as_text = one_char_format && (!breaks || paragraphs);
    const auto rtf = as_text ? std::nullopt : get_rtf(editor, true);
    Piece piece;
    piece.length = range.cpMax - range.cpMin;
    piece.kind = rtf ? PieceKind::rtf : PieceKind::text;
    piece.content = rtf ? *rtf : utf16_to_utf8(content);
    // The RTF leaves out what its first character shares with a default
    // format; the reader takes that from the caret instead. Should the
    // control fail to write RTF, the text at least goes back whole, in the
    // first character's format.
    piece.char_format = bytes_of(as_text ? chars : first_character_format(editor, range));
    // Text takes on the paragraph it goes into, which is one of its own
    // paragraphs' format again; the RTF reader makes paragraphs of its own.
    if (rtf && paragraphs)
        piece.para_format = bytes_of(*paragraphs);
    if (text)
        *text = content;
    return piece;
}

Piece capture_range(HWND editor, const FullMasks& masks, LONG first, LONG last)
{
    set_selection(editor, first, last);
    return capture_selection(editor, masks);
}

Piece kept(LONG length, std::string char_format)
{
    return {PieceKind::keep, length, "", std::move(char_format), ""};
}

void apply_char_format(HWND editor, const Piece& piece)
{
    if (const auto chars = format_from<CHARFORMAT2W>(piece.char_format))
        set_selection_format_w(editor, *chars);
}

void apply_para_format(HWND editor, const Piece& piece)
{
    if (const auto paragraphs = format_from<PARAFORMAT2>(piece.para_format))
        set_paragraph_format(editor, *paragraphs);
}

bool has_format(HWND editor, const std::string& format)
{
    return bytes_of(get_selection_format_w(editor)) == format;
}

// Replaced text goes in in the format of the first character it replaces,
// and text put in at the caret in the caret's. Where that is the piece's
// format, one replacement is all; elsewhere the caret gets it first, which
// spares formatting all the text afterwards. RTF gets its first
// character's format, which it takes for granted.
void put_in(HWND editor, LONG at, LONG replaced, const Piece& piece)
{
    if (piece.kind == PieceKind::text && replaced > 0) {
        set_selection(editor, at, at + 1);
        const bool in_format = has_format(editor, piece.char_format);
        set_selection(editor, at, at + replaced);
        if (in_format) {
            replace_selection_utf16(editor, utf8_to_utf16(piece.content));
            return;
        }
    }
    replace_selection_utf16(editor, u"");
    apply_char_format(editor, piece);
    if (piece.kind == PieceKind::rtf)
        stream_in(editor, piece.content, SF_RTF | SFF_SELECTION);
    else
        replace_selection_utf16(editor, utf8_to_utf16(piece.content));
}

// The format of the paragraph that the character at `at` belongs to.
std::string paragraph_format_at(HWND editor, LONG at)
{
    set_selection(editor, at, at);
    return bytes_of(get_paragraph_format(editor));
}

bool holds_rtf(const std::vector<Piece>& pieces)
{
    return std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.kind == PieceKind::rtf; });
}

// Puts the pieces one after another in place of the `replaced` characters
// at `at`, which are selected.
void insert_pieces(HWND editor, LONG at, LONG replaced, const std::vector<Piece>& pieces)
{
    // The RTF reader gives the paragraph that its last break starts a format
    // of its own; that paragraph is the one the text after the range was
    // in, and keeps its format.
    std::string following_paragraph;
    if (holds_rtf(pieces)) {
        following_paragraph = paragraph_format_at(editor, at + replaced);
        set_selection(editor, at, at + replaced);
    }
    if (pieces.empty())
        replace_selection_utf16(editor, u"");
    for (const Piece& piece : pieces) {
        put_in(editor, at, replaced, piece);
        replaced = 0;
        set_selection(editor, at, at + piece.length);
        // Text whose format the control did not give it as expected gets it now.
        if (piece.kind == PieceKind::text && !piece.char_format.empty() && !has_format(editor, piece.char_format))
            apply_char_format(editor, piece);
        apply_para_format(editor, piece);
        at += piece.length;
        set_selection(editor, at, at);
    }
    if (!following_paragraph.empty() && paragraph_format_at(editor, at) != following_paragraph)
        apply_para_format(editor, {PieceKind::keep, 0, "", "", following_paragraph});
}

// Turns the range at `start`, which holds `present`, into `wanted`. False,
// with nothing changed, when the step cannot be read.
bool put_back(HWND editor, std::int32_t start, const Payload& present, const Payload& wanted)
{
    const auto present_pieces = decode_payload(present);
    const auto wanted_pieces = decode_payload(wanted);
    if (!present_pieces || !wanted_pieces)
        return false;
    const auto edits = plan_restore(start, *present_pieces, *wanted_pieces);
    if (!edits)
        return false;
    RedrawPause pause(editor);
    for (const PieceEdit& edit : *edits) {
        if (edit.length == 0 && edit.pieces.empty())
            continue;
        set_selection(editor, edit.start, edit.start + edit.length);
        if (edit.format_only)
            apply_char_format(editor, edit.pieces.front());
        else
            insert_pieces(editor, edit.start, edit.length, join_text_pieces(edit.pieces));
    }
    return true;
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
std::u16string typed_text(HWND editor, std::u16string_view typed, LONG start, LONG length)
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
bool describe_kept_middle(HWND editor, const FullMasks& masks, EditStep& step, const Piece& replaced,
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

    step.before = payload_of(kept(replaced.length, replaced.char_format));
    if (kept_start > step.start)
        step.after.push_back(encode_piece(capture_range(editor, masks, step.start, kept_start)));
    step.after.push_back(encode_piece(kept(replaced.length, bytes_of(format))));
    if (end > kept_end)
        step.after.push_back(encode_piece(capture_range(editor, masks, kept_end, end)));
    drop_if_unchanged(step);
    return true;
}

// Fills in both sides of a step that replaced `replaced` (if anything was
// selected) by what now stands in its range.
void describe_result(HWND editor, const FullMasks& masks, EditStep& step, const std::optional<Piece>& replaced,
                     std::u16string_view replaced_text)
{
    if (replaced && describe_kept_middle(editor, masks, step, *replaced, replaced_text))
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
    SendMessageA(editor_, EM_SETUNDOLIMIT, 0, 0);
    // What the control reports for one character is what "one format" means.
    const CHARRANGE selected = get_selection(editor_);
    set_selection(editor_, selected.cpMin, selected.cpMin);
    full_char_mask_ = get_selection_format_w(editor_).dwMask;
    full_para_mask_ = get_paragraph_format(editor_).dwMask;
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
    const FullMasks masks{full_char_mask_, full_para_mask_};
    const CHARRANGE selected = get_selection(editor_);
    const CHARRANGE before = span;
    const LONG length_before = text_length(editor_);
    std::u16string before_text;
    std::optional<Piece> replaced;
    const bool span_selected = before.cpMin == selected.cpMin && before.cpMax == selected.cpMax;
    if (before.cpMax > before.cpMin) {
        if (!span_selected)
            set_selection(editor_, before.cpMin, before.cpMax);
        replaced = capture_selection(editor_, masks, &before_text);
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
        forget_everything();
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
        describe_result(editor_, masks, step, replaced, before_text);
        set_selection(editor_, after.cpMin, after.cpMax);
        if (after.cpMin == after.cpMax)
            set_selection_format_w(editor_, caret_format);
    }
    if (!step.before.empty() || !step.after.empty())
        add(std::move(step));
}

void EditRecorder::record_typing(std::u16string_view typed, const std::function<void()>& typing)
{
    const CHARRANGE before = get_selection(editor_);
    std::optional<Piece> replaced;
    if (before.cpMax > before.cpMin)
        replaced = capture_selection(editor_, {full_char_mask_, full_para_mask_});

    typing();

    const CHARRANGE after = get_selection(editor_);
    if (after.cpMin == before.cpMin && after.cpMax == before.cpMax)
        return; // nothing went in
    const LONG inserted = after.cpMax - before.cpMin;
    if (after.cpMin != after.cpMax || inserted <= 0) {
        // Not what typing does: what changed is unknown.
        forget_everything();
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

    Piece piece{PieceKind::text, inserted, utf16_to_utf8(typed_text(editor_, typed, before.cpMin, inserted)), "", ""};
    // A key that goes on a run is typed in the run's format, which its
    // first key carries; only a new run asks the control for it.
    if (!history_.would_merge(step))
        piece.char_format = bytes_of(get_selection_format_w(editor_));
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
    const Piece deleted = capture_selection(editor_, {full_char_mask_, full_para_mask_});
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
    if (edited_)
        edited_(std::nullopt);
    history_.clear();
    unsaved_without_history_ = true;
    if (changed_)
        changed_();
}

bool EditRecorder::undo()
{
    const EditStep* step = history_.undo();
    return step && turn_range(*step, step->after, step->before, step->selection_before);
}

bool EditRecorder::redo()
{
    const EditStep* step = history_.redo();
    return step && turn_range(*step, step->before, step->after, step->selection_after);
}

bool EditRecorder::turn_range(const EditStep& step, const Payload& present, const Payload& wanted,
                              const EditSelection& selection)
{
    if (!put_back(editor_, step.start, present, wanted)) {
        forget_everything();
        return false;
    }
    if (edited_) {
        const bool undoing = &present == &step.after;
        edited_(TextEdit{step.start, undoing ? step.inserted_length : step.removed_length,
                         undoing ? step.removed_length : step.inserted_length});
    }
    set_selection(editor_, std::min(selection.anchor, selection.caret), std::max(selection.anchor, selection.caret));
    SendMessageA(editor_, EM_SCROLLCARET, 0, 0);
    changed();
    return true;
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
    if (edited_)
        edited_(std::nullopt);
    history_.clear();
    unsaved_without_history_ = false;
    changed();
}

void EditRecorder::start_unsaved()
{
    if (edited_)
        edited_(std::nullopt);
    history_.clear();
    unsaved_without_history_ = true;
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

void EditRecorder::forget_everything()
{
    if (edited_)
        edited_(std::nullopt);
    history_.clear();
    unsaved_without_history_ = true;
    changed();
}

void EditRecorder::changed()
{
    SendMessageA(editor_, EM_SETMODIFY, is_modified(), 0);
    if (changed_)
        changed_();
}
