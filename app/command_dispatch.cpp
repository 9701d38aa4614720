#include "app/command_dispatch.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "app/editor_control.h"
#include "app/file_commands.h"
#include "app/find_commands.h"
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
#include "text/forum_urls.h"
#include "ui/format_dialogs.h"
#include "ui/recent_menu.h"
#include "win/wait_cursor.h"

namespace {

using Action = void (*)(MainWindowState& state);

// A command that is not markup: one action, whether the keyboard goes back
// to the Editor control afterwards, and the kind of undo step it is, for the
// commands that change the document.
struct Command {
    WORD id;
    Action action;
    bool focus_editor_after;
    std::optional<EditKind> edit = std::nullopt;
};

HWND editor_of(const MainWindowState& state)
{
    return state.parts.editor;
}

void do_nothing(MainWindowState&) {}

void exit_program(MainWindowState& state) { SendMessageW(state.parts.main_window, WM_CLOSE, 0, 0); }
// The history says whether the document is modified afterwards: undoing
// back to the saved text makes it unmodified.
void undo(MainWindowState& state) { state.history.undo(); }
void redo(MainWindowState& state) { state.history.redo(); }
void copy_post(MainWindowState& state)
{
    copy_selection(editor_of(state));
    review_copied_post(state);
}
void cut(MainWindowState& state) { cut_selection(editor_of(state)); }
void paste(MainWindowState& state) { paste_within_limit(editor_of(state), DOCUMENT_SIZE_LIMIT); }

// The history follows what a file command did: a replaced document starts
// an empty, unmodified history; one saved on the way (also by Yes to the
// save question before an Open that was then cancelled) is unmodified.
void follow_document(MainWindowState& state, DocumentChange change)
{
    if (change == DocumentChange::replaced)
        state.history.start_new();
    else if (change == DocumentChange::saved_but_kept)
        state.history.mark_saved();
}
void follow_save(MainWindowState& state, SaveOutcome outcome)
{
    if (outcome == SaveOutcome::saved)
        state.history.mark_saved();
}

void new_file(MainWindowState& state)
{
    follow_document(state, new_document(editor_of(state), state.document, state.history.is_modified(),
                                        [&state] { return replace_editor(state); }));
}
void open_file(MainWindowState& state)
{
    follow_document(state, open_document(editor_of(state), state.document, state.history.is_modified(),
                                         [&state] { return replace_editor(state); }));
}
void save_file(MainWindowState& state) { follow_save(state, save_document(editor_of(state), state.document)); }
void save_file_as(MainWindowState& state) { follow_save(state, save_document_as(editor_of(state), state.document)); }
void printer_setup(MainWindowState& state)
{
    // Whatever the sheet's answer, the layout follows the printer as it is now.
    show_printer_properties(state.parts.main_window);
    set_print_target(editor_of(state), state.parts.print_target, state.parts.editor_subclass.lines_at_printer_width);
}
void print(MainWindowState& state) { print_document(editor_of(state), print_job_name(state.document.name)); }

void font(MainWindowState& state) { choose_font(editor_of(state)); }
void whole_text(MainWindowState& state) { select_all(editor_of(state)); }
void background(MainWindowState& state) { choose_background_color(editor_of(state), state.colors.background); }

void color_dialog(MainWindowState& state)
{
    if (choose_color(state.parts.main_window, state.colors.tag))
        insert_color_tag(editor_of(state), state.colors.tag.color, "[color=#", "[/color]");
}
void post_link(MainWindowState& state)
{
    convert_post_link(editor_of(state), "[url]", "[/url]");
    apply_insert_format(editor_of(state), LINK_FORMAT);
}
void plain_font(MainWindowState& state) { apply_plain_format(editor_of(state)); }
void reflow(MainWindowState& state)
{
    break_long_lines(editor_of(state));
    apply_plain_format(editor_of(state));
}
void open_web_link(MainWindowState&)
{
    ShellExecuteW(nullptr, L"open", L"" WEB_LINK_URL, nullptr, nullptr, SW_SHOW);
}

void write_for_editor(MainWindowState& state) { choose_forum(state, ForumProfileId::editor); }
void write_for_phpbb(MainWindowState& state) { choose_forum(state, ForumProfileId::phpbb); }
void write_for_smf(MainWindowState& state) { choose_forum(state, ForumProfileId::smf); }
void write_for_mybb(MainWindowState& state) { choose_forum(state, ForumProfileId::mybb); }

constexpr Command COMMANDS[] = {
    {IDM_FILE_NEW, new_file, false},
    {IDM_FILE_OPEN, open_file, false},
    {IDM_FILE_SAVE, save_file, false},
    {IDM_FILE_SAVEAS, save_file_as, false},
    {IDM_FILE_PRINTSETUP, printer_setup, false},
    {IDM_FILE_PRINT, print, false},
    {IDM_FILE_EXIT, exit_program, false},
    {IDM_EDIT_UNDO, undo, false},
    {IDM_EDIT_REDO, redo, false},
    {IDM_EDIT_HORIZONTAL, do_nothing, false},
    {IDM_EDIT_VERTICAL, do_nothing, false},
    {IDM_EDIT_FONT, font, false, EditKind::format},
    // The alignment items only show the current alignment with a check mark.
    {IDM_ALIGN_CENTER, do_nothing, false},
    {IDM_ALIGN_LEFT, do_nothing, false},
    {IDM_ALIGN_RIGHT, do_nothing, false},
    {IDM_EDIT_COPY, copy_post, false},
    {IDM_EDIT_CUT, cut, false, EditKind::clipboard},
    {IDM_EDIT_PASTE, paste, false, EditKind::clipboard},
    {IDM_EDIT_SELECTALL, whole_text, false},
    // Their replacements are recorded as they happen, from the dialog.
    {IDM_FIND, open_find, false},
    {IDM_FIND_NEXT, find_next_down, false},
    {IDM_FIND_PREVIOUS, find_next_up, false},
    {IDM_REPLACE, open_replace, false},
    {IDM_BACKCOLOR, background, false},
    {IDM_TAG_COLOR_DIALOG, color_dialog, true, EditKind::command},
    {IDM_TAG_POST_LINK, post_link, true, EditKind::command},
    {IDM_OPEN_WEBLINK, open_web_link, false},
    {IDM_PLAIN_FONT, plain_font, true, EditKind::format},
    {IDM_REFLOW, reflow, true, EditKind::command},
    {IDM_PREVIEW_TOGGLE, toggle_preview, false},
    {IDM_TAG_CHECK, select_first_tag_problem, true},
    {IDM_CHARACTER_LIMIT, change_character_limit, false},
    {IDM_FORUM_EDITOR, write_for_editor, false},
    {IDM_FORUM_PHPBB, write_for_phpbb, false},
    {IDM_FORUM_SMF, write_for_smf, false},
    {IDM_FORUM_MYBB, write_for_mybb, false},
    {IDM_SPELL_NEXT, select_next_misspelling, true},
    {IDM_SPELL_WHILE_TYPING, toggle_spelling, false},
    {IDM_SPELL_CZECH, check_in_czech, false},
    {IDM_SPELL_ENGLISH, check_in_english, false},
    {IDM_SPELL_BOTH, check_in_both, false},
};

// From this length of the post on, the commands that change the document
// may take longer than a user waits without a sign (150 ms), and show the
// wait cursor; the markup commands do too.
constexpr LONG LONG_POST = 20000;
constexpr WORD SLOW_ON_LONG_POSTS[] = {IDM_EDIT_UNDO, IDM_EDIT_REDO, IDM_EDIT_CUT,
                                       IDM_EDIT_PASTE, IDM_PLAIN_FONT, IDM_REFLOW};

bool may_take_long(HWND editor, WORD id)
{
    const bool slow_command = find_markup(id) || std::find(std::begin(SLOW_ON_LONG_POSTS),
                                                           std::end(SLOW_ON_LONG_POSTS), id) != std::end(SLOW_ON_LONG_POSTS);
    return slow_command && text_length(editor) >= LONG_POST;
}

const Command* find_command(WORD id)
{
    const auto found = std::find_if(std::begin(COMMANDS), std::end(COMMANDS), [id](const Command& c) { return c.id == id; });
    return found == std::end(COMMANDS) ? nullptr : found;
}

} // namespace

// Every command that changes the document is one undo step, however many
// edits it makes: the history records it around the command as a whole.
void dispatch_command(MainWindowState& state, WORD id)
{
    HWND editor = editor_of(state);
    bool focus_editor_after = false;
    if (run_spelling_menu_item(state, id))
        return;
    if (is_recent_file_item(id)) {
        follow_document(state, open_recent_file(state, recent_file_index(id)));
        return;
    }
    std::optional<WaitCursor> busy;
    if (may_take_long(editor, id))
        busy.emplace();
    if (const Command* command = find_command(id)) {
        if (command->edit)
            state.history.record(*command->edit, [&] { command->action(state); });
        else
            command->action(state);
        focus_editor_after = command->focus_editor_after;
    } else if (const Markup* markup = find_markup(id)) {
        // The sizes in the chosen forum's own form; all else as written.
        const ForumProfile& forum = forum_profile(state.review.settings.forum);
        const std::string open = with_sizes_for(forum, markup->open);
        const std::string close = with_sizes_for(forum, markup->close);
        Markup for_forum = *markup;
        for_forum.open = open;
        for_forum.close = close;
        state.history.record(EditKind::command,
                             [&] { state.parts.editor_subclass.format_reset_pending = apply_markup(editor, for_forum); });
        focus_editor_after = markup->focus == FocusAfter::editor;
    }
    if (focus_editor_after)
        SetFocus(editor);
}

bool is_command(WORD id)
{
    return find_command(id) || find_markup(id) || is_recent_file_item(id);
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
