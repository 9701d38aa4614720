#include "app/post_review.h"

#include <algorithm>
#include <string>

#include "app/spelling.h"
#include "text/forum/post_counts.h"
#include "text/preview/preview_rtf.h"
#include "text/forum/tag_check.h"
#include "res/resource_ids.h"
#include "editor/editor_text.h"
#include "text/unicode/unicode_text.h"
#include "ui/board_dialog.h"
#include "ui/forum_texts.h"
#include "ui/limit_dialog.h"
#include "ui/post_status.h"
#include "ui/menus.h"
#include "win/dpi.h"
#include "win/input_waiting.h"
#include "win/messages.h"
#include "win/system_utf8.h"

namespace {

constexpr Message TAGS_FINE{IDS_TAGS_FINE, IDS_CAPTION_TAG_CHECK, MB_OK | MB_ICONINFORMATION};

// Neither pane gets narrower than this share of the width.
constexpr int SMALLEST_PER_MILLE = 150;

void show_counts(MainWindowState& state, std::string_view post)
{
    const ForumProfile& forum = chosen_forum(state);
    const PostCounts counts = count_post(post, forum);
    const DWORD limit = forum.default_limit;
    const bool over_limit = limit != 0 && counts.length > limit;
    StatusBar& bar = state.parts.status_bar;
    set_status_part(bar, StatusPart::characters, length_status(forum, counts.length, limit), over_limit);
    set_status_part(bar, StatusPart::without_tags, without_tags_status(counts.characters_without_tags), false);
    set_status_part(bar, StatusPart::words, words_status(counts.words), false);
}

void show_tag_check(MainWindowState& state, const TagProblem& problem, std::string_view post)
{
    if (problem.kind == TagProblemKind::none)
        state.review.tag_warning = false;
    set_status_part(state.parts.status_bar, StatusPart::tags, tag_check_status(problem, chosen_forum(state), post),
                    state.review.tag_warning);
}

void step_preview(MainWindowState& state)
{
    if (update_preview_step(state.parts.preview))
        KillTimer(state.parts.main_window, PREVIEW_STEP_TIMER);
    else
        SetTimer(state.parts.main_window, PREVIEW_STEP_TIMER, USER_TIMER_MINIMUM, nullptr);
}

int splitter_width_of(const MainWindowState& state)
{
    return scaled(SPLITTER_WIDTH, window_dpi(state.parts.main_window));
}

// The Main window lays out its parts again, at its present size.
void lay_out_again(HWND main_window)
{
    RECT client{};
    GetClientRect(main_window, &client);
    SendMessageW(main_window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void check_preview_item(const MainWindowState& state)
{
    const bool shown = state.review.settings.preview_shown;
    CheckMenuItem(GetMenu(state.parts.main_window), IDM_PREVIEW_TOGGLE,
                  MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
}

// The preview's control comes when the preview is first shown: a start
// with the preview hidden never pays for it. False when it cannot be made.
bool ensure_preview_pane(MainWindowState& state)
{
    PreviewPane& preview = state.parts.preview;
    if (preview.window)
        return true;
    HWND main_window = state.parts.main_window;
    if (!create_preview_pane(main_window, preview))
        return false;
    zoom_to_dpi(preview.window, window_dpi(main_window));
    return true;
}

// Shows or hides the preview's control and checks its item; false when the
// preview was to be shown and its control could not be made (it stays hidden).
bool apply_preview_shown(MainWindowState& state, bool shown)
{
    const bool made = !shown || ensure_preview_pane(state);
    state.review.settings.preview_shown = shown && made;
    if (HWND preview = state.parts.preview.window)
        ShowWindow(preview, state.review.settings.preview_shown ? SW_SHOWNA : SW_HIDE);
    check_preview_item(state);
    return made;
}

void show_preview(MainWindowState& state, bool shown)
{
    apply_preview_shown(state, shown);
    HWND main_window = state.parts.main_window;
    lay_out_again(main_window);
    if (state.review.settings.preview_shown)
        review_post_now(state);
    else
        KillTimer(main_window, PREVIEW_STEP_TIMER);
}

// Counts with the tag check, the spell check's request, and the preview:
// one stage a call, from the post as read in the first; true after the last.
bool review_stage(MainWindowState& state)
{
    PostReview& review = state.review;
    switch (review.next_stage++) {
    case 0:
        KillTimer(state.parts.main_window, REVIEW_TIMER);
        review.review_due = false;
        review.post = get_text(state.parts.editor);
        // The status bar's parts change together.
        show_counts(state, review.post);
        show_tag_check(state, check_tags(review.post, chosen_forum(state)), review.post);
        return false;
    case 1:
        spelling_post_reviewed(state, review.post);
        return false;
    default:
        break;
    }
    review.next_stage = 0;
    const std::string post = std::move(review.post);
    review.post.clear();
    if (!review.settings.preview_shown)
        return true;
    PreviewPane& preview = state.parts.preview;
    set_preview_wanted(preview, render_preview_paragraphs(post, preview.options, chosen_forum(state)));
    // A key that came meanwhile goes first; the preview follows it.
    if (input_waiting())
        SetTimer(state.parts.main_window, PREVIEW_STEP_TIMER, USER_TIMER_MINIMUM, nullptr);
    else
        step_preview(state);
    return true;
}

} // namespace

const ForumProfile& chosen_forum(const MainWindowState& state)
{
    return state.review.rules.profile();
}

namespace {

// The chosen board's rules take over, and the menu shows the boards.
void follow_chosen_board(MainWindowState& state)
{
    const BoardList& boards = state.review.boards;
    state.review.rules = BoardRules(boards.boards[boards.chosen]);
    list_board_items(state.parts.main_window, boards);
}

void keep_boards(MainWindowState& state)
{
    if (!save_boards(state.review.boards))
        show_message(state.parts.main_window,
                     {IDS_BOARD_NOT_SAVED, IDS_CAPTION_FORUM_SETTINGS, MB_OK | MB_ICONWARNING});
}

} // namespace

bool create_post_review(MainWindowState& state)
{
    WindowParts& parts = state.parts;
    state.review.settings = load_settings();
    state.review.boards = load_boards();
    follow_chosen_board(state);
    parts.status_bar = create_status_bar(parts.main_window);
    // The window lays its parts out once, when it gets its size; the post is
    // looked at once, preview and all.
    if (!apply_preview_shown(state, state.review.settings.preview_shown))
        return false;
    review_post_now(state);
    return true;
}

void post_changed(MainWindowState& state)
{
    // Each change starts the pause anew. Setting a timer asks the window
    // server, which a key should not wait for: only the first change after
    // a review does.
    state.review.last_change = GetTickCount();
    // A review under way looks at a post that is no more.
    state.review.next_stage = 0;
    if (state.review.review_due)
        return;
    state.review.review_due = true;
    SetTimer(state.parts.main_window, REVIEW_TIMER, REVIEW_DELAY_MS, nullptr);
}

void show_passing_note(MainWindowState& state, const std::string& note)
{
    show_status_note(state.parts.status_bar, note);
    SetTimer(state.parts.main_window, NOTE_TIMER, NOTE_MS, nullptr);
}

bool on_review_timer(MainWindowState& state, UINT_PTR timer)
{
    if (timer == NOTE_TIMER) {
        KillTimer(state.parts.main_window, NOTE_TIMER);
        clear_status_note(state.parts.status_bar);
        return true;
    }
    if (timer != REVIEW_TIMER && timer != PREVIEW_STEP_TIMER)
        return false;
    // The timer stays set and comes back once the input is handled.
    if (input_waiting())
        return true;
    if (timer == PREVIEW_STEP_TIMER) {
        step_preview(state);
        return true;
    }
    const DWORD quiet = GetTickCount() - state.review.last_change;
    if (quiet < REVIEW_DELAY_MS)
        SetTimer(state.parts.main_window, REVIEW_TIMER, REVIEW_DELAY_MS - quiet, nullptr);
    else if (review_stage(state))
        KillTimer(state.parts.main_window, REVIEW_TIMER);
    else
        SetTimer(state.parts.main_window, REVIEW_TIMER, USER_TIMER_MINIMUM, nullptr);
    return true;
}

void review_post_now(MainWindowState& state)
{
    state.review.next_stage = 0;
    bool done = false;
    while (!done)
        done = review_stage(state);
}

void review_in_new_language(MainWindowState& state)
{
    label_preview(state.parts.preview);
    list_board_items(state.parts.main_window, state.review.boards);
    fit_status_parts(state.parts.status_bar);
    check_preview_item(state);
    review_post_now(state);
}

void toggle_preview(MainWindowState& state)
{
    show_preview(state, !state.review.settings.preview_shown);
    save_preview_shown(state.review.settings.preview_shown);
}

void select_first_tag_problem(MainWindowState& state)
{
    HWND editor = state.parts.editor;
    const std::string post = get_text(editor);
    const TagProblem problem = check_tags(post, chosen_forum(state));
    show_tag_check(state, problem, post);
    if (problem.kind == TagProblemKind::none) {
        show_message(state.parts.main_window, TAGS_FINE);
        return;
    }
    const std::string_view text(post);
    const auto first = static_cast<LONG>(utf16_length(text.substr(0, problem.offset)));
    set_selection(editor, first, first + static_cast<LONG>(utf16_length(text.substr(problem.offset, problem.length))));
    SendMessageW(editor, EM_SCROLLCARET, 0, 0);
}

void change_character_limit(MainWindowState& state)
{
    const std::optional<DWORD> limit = ask_character_limit(state.parts.main_window, chosen_forum(state).default_limit);
    if (!limit)
        return;
    BoardList& boards = state.review.boards;
    boards.boards[boards.chosen].limit(BoardLimit::length) = *limit;
    follow_chosen_board(state);
    keep_boards(state);
    show_counts(state, get_text(state.parts.editor));
}

void review_copied_post(MainWindowState& state)
{
    HWND editor = state.parts.editor;
    const std::string post = get_text(editor);
    const CHARRANGE selection = get_selection(editor);
    if (selection.cpMin > 0 || selection.cpMax < static_cast<LONG>(utf16_length(post)))
        return; // a part of the post is no post
    const TagProblem problem = check_tags(post, chosen_forum(state));
    if (problem.kind == TagProblemKind::none)
        return;
    state.review.tag_warning = true;
    show_tag_check(state, problem, post);
}

void choose_board(MainWindowState& state, size_t index)
{
    BoardList& boards = state.review.boards;
    if (index >= boards.boards.size())
        return;
    boards.chosen = index;
    save_chosen_board(index);
    follow_chosen_board(state);
    review_post_now(state);
}

void change_forum_settings(MainWindowState& state)
{
    std::optional<BoardList> changed = ask_board_settings(state.parts.main_window, state.review.boards);
    if (!changed)
        return;
    state.review.boards = std::move(*changed);
    follow_chosen_board(state);
    keep_boards(state);
    review_post_now(state);
}

const wchar_t* length_tip(MainWindowState& state)
{
    const std::string post = get_text(state.parts.editor);
    std::string lines;
    for (const Board& board : state.review.boards.boards) {
        const BoardRules rules(board);
        const ForumProfile& forum = rules.profile();
        if (!lines.empty())
            lines += "\r\n";
        lines += length_tip_line(forum, count_post(post, forum).length, forum.default_limit, board.name);
    }
    state.review.length_tip = wide_from_utf8(lines);
    return state.review.length_tip.c_str();
}

void lay_out_post_panes(MainWindowState& state, const RECT& area)
{
    PostReview& review = state.review;
    review.pane_area = area;
    const int width = std::max<int>(area.right - area.left, 0);
    const int height = std::max<int>(area.bottom - area.top, 0);
    HWND preview = state.parts.preview.window;
    if (!review.settings.preview_shown || !preview) {
        review.splitter = {};
        MoveWindow(state.parts.editor, area.left, area.top, width, height, TRUE);
        return;
    }
    const int splitter_width = splitter_width_of(state);
    const int panes = std::max(width - splitter_width, 0);
    const int preview_width = panes * review.preview_per_mille / 1000;
    const int editor_width = panes - preview_width;
    review.splitter = {area.left + editor_width, area.top, area.left + editor_width + splitter_width, area.bottom};
    MoveWindow(state.parts.editor, area.left, area.top, editor_width, height, TRUE);
    MoveWindow(preview, review.splitter.right, area.top, preview_width, height, TRUE);
}

bool is_on_splitter(const MainWindowState& state, POINT client_point)
{
    return PtInRect(&state.review.splitter, client_point) != 0;
}

void drag_splitter_to(MainWindowState& state, int x)
{
    const RECT area = state.review.pane_area;
    const int splitter_width = splitter_width_of(state);
    const int panes = area.right - area.left - splitter_width;
    if (panes <= 0)
        return;
    const int preview_width = area.right - x - splitter_width / 2;
    set_preview_share(state, preview_width * 1000 / panes);
}

void keep_preview_share(MainWindowState& state, int per_mille)
{
    state.review.preview_per_mille = std::clamp(per_mille, SMALLEST_PER_MILLE, 1000 - SMALLEST_PER_MILLE);
}

void set_preview_share(MainWindowState& state, int per_mille)
{
    keep_preview_share(state, per_mille);
    lay_out_post_panes(state, state.review.pane_area);
}
