#include "app/command_dispatch.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "app/editor_control.h"
#include "app/file_commands.h"
#include "app/long_operation.h"
#include "app/find_commands.h"
#include "app/paste_commands.h"
#include "app/interface_language.h"
#include "app/post_review.h"
#include "app/recent_files.h"
#include "app/spelling.h"
#include "document/printing.h"
#include "editor/char_format.h"
#include "editor/clipboard.h"
#include "editor/color_tag.h"
#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "editor/markup_commands.h"
#include "editor/post_link.h"
#include "editor/reflow.h"
#include "res/resource_ids.h"
#include "text/forum/forum_urls.h"
#include "ui/format_dialogs.h"
#include "ui/recent_menu.h"

namespace {

// An action hears of its progress, when it can tell, through the long
// operation it runs under.
using Action = void (*)(MainWindowState& state, const ProgressReport& progress);

// A command that is not markup: one action, whether the keyboard goes back
// to the Editor control afterwards, the kind of undo step it is, for the
// commands that change the document, and what the status bar says while
// it takes long.
struct Command {
    WORD id;
    Action action;
    bool focus_editor_after;
    std::optional<EditKind> edit = std::nullopt;
    LongWork work = LongWork::command;
};

HWND editor_of(const MainWindowState& state)
{
    return state.parts.editor;
}

// An action of another part of the program that has no progress to tell.
template <void (*action)(MainWindowState&)>
void without_progress(MainWindowState& state, const ProgressReport&)
{
    action(state);
}

void do_nothing(MainWindowState&, const ProgressReport&) {}

void exit_program(MainWindowState& state, const ProgressReport&)
{
    SendMessageW(state.parts.main_window, WM_CLOSE, 0, 0);
}
// The history says whether the document is modified afterwards: undoing
// back to the saved text makes it unmodified.
void undo(MainWindowState& state, const ProgressReport& progress) { state.history.undo(progress); }
void redo(MainWindowState& state, const ProgressReport& progress) { state.history.redo(progress); }
void copy_post(MainWindowState& state, const ProgressReport&)
{
    copy_selection(editor_of(state));
    review_copied_post(state);
}
void cut(MainWindowState& state, const ProgressReport&) { cut_selection(editor_of(state)); }

void follow_save(MainWindowState& state, SaveOutcome outcome)
{
    if (outcome == SaveOutcome::saved)
        state.history.mark_saved();
}

void new_file(MainWindowState& state, const ProgressReport&)
{
    follow_document(state, new_document(editor_of(state), state.document, state.history.is_modified(),
                                        [&state] { return replace_editor(state); }));
}
void open_file(MainWindowState& state, const ProgressReport& progress)
{
    follow_document(state, open_document(editor_of(state), state.document, state.history.is_modified(),
                                         [&state] { return replace_editor(state); }, progress));
}
void save_file(MainWindowState& state, const ProgressReport&)
{
    follow_save(state, save_document(editor_of(state), state.document));
}
void save_file_as(MainWindowState& state, const ProgressReport&)
{
    follow_save(state, save_document_as(editor_of(state), state.document));
}
void printer_setup(MainWindowState& state, const ProgressReport&)
{
    // Whatever the sheet's answer, the layout follows the printer as it is now.
    show_printer_properties(state.parts.main_window);
    set_print_target(editor_of(state), state.parts.print_target, state.parts.editor_subclass.lines_at_printer_width);
}
void print(MainWindowState& state, const ProgressReport&)
{
    print_document(editor_of(state), print_job_name(state.document.name));
}

void font(MainWindowState& state, const ProgressReport&) { choose_font(editor_of(state)); }
void whole_text(MainWindowState& state, const ProgressReport&) { select_all(editor_of(state)); }
void background(MainWindowState& state, const ProgressReport&)
{
    choose_background_color(editor_of(state), state.colors.background);
}

void color_dialog(MainWindowState& state, const ProgressReport&)
{
    if (choose_color(state.parts.main_window, state.colors.tag))
        insert_color_tag(editor_of(state), state.colors.tag.color, "[color=#", "[/color]");
}
void post_link(MainWindowState& state, const ProgressReport&)
{
    convert_post_link(editor_of(state), "[url]", "[/url]");
    apply_insert_format(editor_of(state), LINK_FORMAT);
}
void plain_font(MainWindowState& state, const ProgressReport&) { apply_plain_format(editor_of(state)); }
void reflow(MainWindowState& state, const ProgressReport&)
{
    break_long_lines(editor_of(state));
    apply_plain_format(editor_of(state));
}
void speak_czech(MainWindowState& state, const ProgressReport&) { switch_interface_language(state, InterfaceLanguage::czech); }
void speak_english(MainWindowState& state, const ProgressReport&) { switch_interface_language(state, InterfaceLanguage::english); }
void open_web_link(MainWindowState&, const ProgressReport&)
{
    ShellExecuteW(nullptr, L"open", L"" WEB_LINK_URL, nullptr, nullptr, SW_SHOW);
}


constexpr Command COMMANDS[] = {
    {IDM_FILE_NEW, new_file, false},
    {IDM_FILE_OPEN, open_file, false, std::nullopt, LongWork::opening},
    {IDM_FILE_SAVE, save_file, false},
    {IDM_FILE_SAVEAS, save_file_as, false},
    {IDM_FILE_PRINTSETUP, printer_setup, false},
    {IDM_FILE_PRINT, print, false},
    {IDM_FILE_EXIT, exit_program, false},
    {IDM_EDIT_UNDO, undo, false, std::nullopt, LongWork::undoing},
    {IDM_EDIT_REDO, redo, false, std::nullopt, LongWork::redoing},
    {IDM_EDIT_HORIZONTAL, do_nothing, false},
    {IDM_EDIT_VERTICAL, do_nothing, false},
    {IDM_EDIT_FONT, font, false, EditKind::format},
    // The alignment items only show the current alignment with a check mark.
    {IDM_ALIGN_CENTER, do_nothing, false},
    {IDM_ALIGN_LEFT, do_nothing, false},
    {IDM_ALIGN_RIGHT, do_nothing, false},
    {IDM_EDIT_COPY, copy_post, false},
    {IDM_EDIT_CUT, cut, false, EditKind::clipboard},
    {IDM_EDIT_PASTE, paste_as_markup, false, EditKind::clipboard, LongWork::pasting},
    {IDM_EDIT_PASTE_TEXT, paste_as_text, false, EditKind::clipboard, LongWork::pasting},
    {IDM_PASTE_COLORS_AND_SIZES, without_progress<toggle_paste_colors_and_sizes>, false},
    {IDM_EDIT_SELECTALL, whole_text, false},
    // Their replacements are recorded as they happen, from the dialog.
    {IDM_FIND, without_progress<open_find>, false},
    {IDM_FIND_NEXT, without_progress<find_next_down>, false},
    {IDM_FIND_PREVIOUS, without_progress<find_next_up>, false},
    {IDM_REPLACE, without_progress<open_replace>, false},
    {IDM_BACKCOLOR, background, false},
    {IDM_TAG_COLOR_DIALOG, color_dialog, true, EditKind::command},
    {IDM_TAG_POST_LINK, post_link, true, EditKind::command},
    {IDM_OPEN_WEBLINK, open_web_link, false},
    {IDM_PLAIN_FONT, plain_font, true, EditKind::format},
    {IDM_REFLOW, reflow, true, EditKind::command},
    {IDM_PREVIEW_TOGGLE, without_progress<toggle_preview>, false},
    {IDM_TAG_CHECK, without_progress<select_first_tag_problem>, true},
    {IDM_CHARACTER_LIMIT, without_progress<change_character_limit>, false},
    {IDM_FORUM_SETTINGS, without_progress<change_forum_settings>, false},
    {IDM_SPELL_NEXT, without_progress<select_next_misspelling>, true},
    {IDM_SPELL_WHILE_TYPING, without_progress<toggle_spelling>, false},
    {IDM_SPELL_CZECH, without_progress<check_in_czech>, false},
    {IDM_SPELL_ENGLISH, without_progress<check_in_english>, false},
    {IDM_SPELL_BOTH, without_progress<check_in_both>, false},
    {IDM_LANGUAGE_CZECH, speak_czech, false},
    {IDM_LANGUAGE_ENGLISH, speak_english, false},
};

// The characters a command will handle, as far as it is known beforehand:
// undo and redo their step's, the commands on the selection the
// selection's; a paste and Open tell theirs once they know it.
std::uint64_t expected_work(const MainWindowState& state, WORD id)
{
    if (id == IDM_EDIT_UNDO)
        return state.history.undo_size();
    if (id == IDM_EDIT_REDO)
        return state.history.redo_size();
    const bool on_selection = find_markup(id) || id == IDM_EDIT_CUT || id == IDM_PLAIN_FONT || id == IDM_REFLOW;
    if (!on_selection)
        return 0;
    const CHARRANGE selected = get_selection(state.parts.editor);
    return static_cast<std::uint64_t>(selected.cpMax - selected.cpMin);
}

const Command* find_command(WORD id)
{
    const auto found = std::find_if(std::begin(COMMANDS), std::end(COMMANDS), [id](const Command& c) { return c.id == id; });
    return found == std::end(COMMANDS) ? nullptr : found;
}

} // namespace

void follow_document(MainWindowState& state, DocumentChange change)
{
    if (change == DocumentChange::replaced)
        state.history.start_new();
    else if (change == DocumentChange::saved_but_kept)
        state.history.mark_saved();
}

// Every command that changes the document is one undo step, however many
// edits it makes: the history records it around the command as a whole.
void dispatch_command(MainWindowState& state, WORD id)
{
    HWND editor = editor_of(state);
    bool focus_editor_after = false;
    if (run_spelling_menu_item(state, id))
        return;
    // The forums' own boards, then the user's, one number each.
    if (id >= IDM_FORUM_EDITOR && id <= IDM_BOARD_LAST) {
        choose_board(state, id - IDM_FORUM_EDITOR);
        return;
    }
    if (is_recent_file_item(id)) {
        LongOperation busy(state, LongWork::opening);
        follow_document(state, open_recent_file(state, recent_file_index(id), busy.progress()));
        return;
    }
    const Command* command = find_command(id);
    LongOperation busy(state, command ? command->work : LongWork::command, expected_work(state, id));
    if (command) {
        if (command->edit)
            state.history.record(*command->edit, [&] { command->action(state, busy.progress()); });
        else
            command->action(state, busy.progress());
        focus_editor_after = command->focus_editor_after;
    } else if (const Markup* markup = find_markup(id)) {
        // The sizes in the chosen forum's own form; all else as written.
        const ForumProfile& forum = chosen_forum(state);
        const std::string open = with_sizes_for(forum, markup->open);
        const std::string close = with_sizes_for(forum, markup->close);
        Markup for_forum = *markup;
        for_forum.open = open;
        for_forum.close = close;
        state.history.record(EditKind::command,
                             [&] { state.parts.editor_subclass.format_reset_pending = apply_markup(editor, for_forum); });
        focus_editor_after = markup->focus == FocusAfter::editor;
    }
    // Undo and redo may have put a fresh control in the old one's place.
    if (focus_editor_after)
        SetFocus(editor_of(state));
}

bool is_command(WORD id)
{
    return find_command(id) || find_markup(id) || is_recent_file_item(id) ||
           (id >= IDM_FORUM_EDITOR && id <= IDM_BOARD_LAST);
}

std::vector<WORD> command_ids()
{
    std::vector<WORD> ids;
    for (const Command& command : COMMANDS)
        ids.push_back(command.id);
    for (const Markup& markup : markup_commands())
        ids.push_back(markup.id);
    return ids;
}
