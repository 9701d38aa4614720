#include "app/find_commands.h"

#include <string>

#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "text/unicode_text.h"
#include "win/messages.h"

namespace {

constexpr Message TEXT_NOT_FOUND{IDS_TEXT_NOT_FOUND, IDS_CAPTION_FIND, MB_OK | MB_ICONINFORMATION};

void show_find_note(MainWindowState& state, const std::string& note)
{
    show_status_note(state.parts.status_bar, note);
    SetTimer(state.parts.main_window, FIND_NOTE_TIMER, FIND_NOTE_MS, nullptr);
}

// The selection, when it is a piece of one line, is what the user most
// likely wants to find.
std::wstring selection_to_search_for(HWND editor)
{
    const std::u16string selected = get_selected_utf16(editor);
    if (selected.find_first_of(u"\r\n") != std::u16string::npos)
        return {};
    return std::wstring(selected.begin(), selected.end());
}

void open_dialog(MainWindowState& state, bool replacing)
{
    open_find_dialog(state.search.dialog, state.parts.main_window, replacing,
                     selection_to_search_for(state.parts.editor));
}

// Over the dialog when it is open, so that it stays in front.
HWND message_owner(const MainWindowState& state)
{
    return state.search.dialog.window ? state.search.dialog.window : state.parts.main_window;
}

void find_and_tell(MainWindowState& state, const SearchOptions& search)
{
    switch (find_next(state.parts.editor, search)) {
    case FindOutcome::found:
        break;
    case FindOutcome::found_after_wrapping:
        show_find_note(state, load_program_text(search.down ? IDS_FIND_WRAPPED_TO_START : IDS_FIND_WRAPPED_TO_END));
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
    if (selection_is_match(editor, search))
        state.history.record(EditKind::command, [&] { replace_selection_plainly(editor, replacement); });
    find_and_tell(state, search);
}

void replace_all(MainWindowState& state, const SearchOptions& search, std::u16string_view replacement)
{
    HWND editor = state.parts.editor;
    const MatchList matches = find_every_match(editor, search);
    if (matches.starts.empty()) {
        show_message(message_owner(state), TEXT_NOT_FOUND, utf16_to_utf8(search.pattern));
        return;
    }
    state.history.record_span(EditKind::command, matches.span(),
                              [&] { replace_every_match(editor, matches, replacement); });
    SendMessageW(editor, EM_SCROLLCARET, 0, 0);
    show_find_note(state, format_program_text(IDS_REPLACED_COUNT, {locale_number(matches.starts.size())}));
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

void end_find_note(MainWindowState& state)
{
    KillTimer(state.parts.main_window, FIND_NOTE_TIMER);
    clear_status_note(state.parts.status_bar);
}
