#include "app/find_commands.h"

#include <string>

#include "app/long_operation.h"
#include "app/main_window_state.h"
#include "app/post_review.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "text/unicode/unicode_text.h"
#include "win/messages.h"

namespace {

constexpr Message TEXT_NOT_FOUND{IDS_TEXT_NOT_FOUND, IDS_CAPTION_FIND, MB_OK | MB_ICONINFORMATION};

// The selection, when it is a piece of one line, is what the user most
// likely wants to find. One longer than the dialog's box takes is not cut
// to fit without a word: the box offers the last search, and a note says why.
std::wstring selection_to_search_for(MainWindowState& state)
{
    const std::u16string selected = get_selected_utf16(state.parts.editor);
    if (selected.find_first_of(u"\r\n") != std::u16string::npos)
        return {};
    if (selected.size() > FIND_TEXT_MOST) {
        show_passing_note(state, load_program_text(IDS_FIND_SELECTION_TOO_LONG));
        return {};
    }
    return std::wstring(selected.begin(), selected.end());
}

void open_dialog(MainWindowState& state, bool replacing)
{
    HWND editor = state.parts.editor;
    if (replacing) {
        const CHARRANGE selected = get_selection(editor);
        state.search.selection_at_open.reset();
        if (selected.cpMax > selected.cpMin)
            state.search.selection_at_open = selected;
        state.search.length_at_open = text_length(editor);
    }
    open_find_dialog(state.search.dialog, state.parts.main_window, replacing, selection_to_search_for(state));
}

bool same_range(const CHARRANGE& one, const CHARRANGE& other)
{
    return one.cpMin == other.cpMin && one.cpMax == other.cpMax;
}

// Where Replace All replaces: in the user's selection when it is more than
// one match, else in the whole post (nothing). A match that Find Next
// selected is no choice of the user's: the selection before it counts.
std::optional<CHARRANGE> replace_all_scope(const MainWindowState& state, std::u16string_view text,
                                           const SearchOptions& search)
{
    std::optional<CHARRANGE> selected = get_selection(state.parts.editor);
    if (same_range(*selected, state.search.selected_by_search)) {
        const bool kept = static_cast<LONG>(text.size()) == state.search.length_at_open;
        selected = kept ? state.search.selection_at_open : std::nullopt;
    }
    if (!selected || selected->cpMax <= selected->cpMin || holds_one_match(text, *selected, search))
        return std::nullopt;
    return selected;
}

// Over the dialog when it is open, so that it stays in front.
HWND message_owner(const MainWindowState& state)
{
    return state.search.dialog.window ? state.search.dialog.window : state.parts.main_window;
}

void find_and_tell(MainWindowState& state, const SearchOptions& search)
{
    const FindOutcome outcome = find_next(state.parts.editor, search);
    if (outcome != FindOutcome::not_found)
        state.search.selected_by_search = get_selection(state.parts.editor);
    switch (outcome) {
    case FindOutcome::found:
        break;
    case FindOutcome::found_after_wrapping:
        show_passing_note(state, load_program_text(search.down ? IDS_FIND_WRAPPED_TO_START : IDS_FIND_WRAPPED_TO_END));
        break;
    case FindOutcome::not_found:
        show_message(message_owner(state), TEXT_NOT_FOUND, utf16_to_utf8(search.pattern));
        break;
    }
}

void search_again(MainWindowState& state, bool down)
{
    if (state.search.last.pattern.empty()) {
        open_dialog(state, false);
        return;
    }
    SearchOptions search = state.search.last;
    search.down = down;
    find_and_tell(state, search);
}

// Replace: the selected match goes, and the search moves on to the next.
void replace_one(MainWindowState& state, const SearchOptions& search, std::u16string_view replacement)
{
    HWND editor = state.parts.editor;
    if (selection_is_match(editor, search)) {
        const CHARRANGE match = get_selection(editor);
        const LONG length_before = text_length(editor);
        state.history.record(EditKind::command, [&] { replace_selection_plainly(editor, replacement); });
        // The selection Replace All would keep to grows or shrinks with it.
        const LONG growth = text_length(editor) - length_before;
        auto& kept = state.search.selection_at_open;
        if (kept && state.search.length_at_open == length_before && kept->cpMin <= match.cpMin &&
            match.cpMax <= kept->cpMax) {
            kept->cpMax += growth;
            state.search.length_at_open += growth;
        }
    }
    find_and_tell(state, search);
}

// Selects what the scope has become, or puts the caret after the last
// replacement when the whole post was the scope.
void select_after_replacing(HWND editor, std::optional<CHARRANGE> scope, CHARRANGE span, LONG growth)
{
    if (scope)
        set_selection(editor, scope->cpMin, scope->cpMax + growth);
    else
        set_selection(editor, span.cpMax + growth, span.cpMax + growth);
}

// Over many paragraphs the history builds the post anew in a fresh
// Editor control: the control is asked for anew after the replacement.
void replace_all(MainWindowState& state, const SearchOptions& search, std::u16string_view replacement)
{
    const std::optional<CHARRANGE> scope = replace_all_scope(state, get_text_utf16(state.parts.editor), search);
    const MatchList matches = find_every_match(state.parts.editor, search, scope);
    if (matches.starts.empty()) {
        show_message(message_owner(state), TEXT_NOT_FOUND, utf16_to_utf8(search.pattern));
        return;
    }
    const CHARRANGE span = matches.span();
    {
        LongOperation busy(state, LongWork::replacing, static_cast<std::uint64_t>(span.cpMax - span.cpMin));
        const bool in_one_piece = state.history.rewrite_span(
            EditKind::command, span,
            [&](const Piece& present, std::u16string_view text) {
                return replace_in_piece(present, text, matches, replacement);
            },
            [&](CHARRANGE written) {
                const LONG growth = (written.cpMax - written.cpMin) - (span.cpMax - span.cpMin);
                select_after_replacing(state.parts.editor, scope, span, growth);
            },
            busy.progress());
        if (!in_one_piece) {
            HWND editor = state.parts.editor;
            const LONG length_before = text_length(editor);
            state.history.record_span(EditKind::command, span, [&] {
                replace_match_by_match(editor, matches, replacement);
                select_after_replacing(editor, scope, span, text_length(editor) - length_before);
            });
        }
    }
    SendMessageW(state.parts.editor, EM_SCROLLCARET, 0, 0);
    show_passing_note(state, format_program_text(IDS_REPLACED_COUNT, {locale_number(matches.starts.size())}) + " " +
                              load_program_text(scope ? IDS_REPLACED_IN_SELECTION : IDS_REPLACED_IN_POST));
}

} // namespace

void open_find(MainWindowState& state) { open_dialog(state, false); }
void open_replace(MainWindowState& state) { open_dialog(state, true); }
void find_next_down(MainWindowState& state) { search_again(state, true); }
void find_next_up(MainWindowState& state) { search_again(state, false); }

void take_find_request(MainWindowState& state, LPARAM request)
{
    SearchOptions search;
    std::u16string replacement;
    const FindAction action = read_find_request(state.search.dialog, request, search, replacement);
    if (action == FindAction::none || action == FindAction::closed)
        return;
    state.search.last = search;
    if (action == FindAction::find_next)
        find_and_tell(state, search);
    else if (action == FindAction::replace)
        replace_one(state, search, replacement);
    else
        replace_all(state, search, replacement);
}

HWND open_search_dialog(HWND main_window)
{
    const MainWindowState* state = main_window_state(main_window);
    return state ? state->search.dialog.window : nullptr;
}

