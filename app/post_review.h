// The post as it will leave the editor: its counts and tag check in the
// status bar, kept up to date while the user types, the live preview beside
// the Editor control, and the commands of the POZADÍ menu that look at it.
#pragma once

#include <windows.h>

#include <string>

#include "app/main_window_state.h"
#include "text/forum/forum_profile.h"
#include "win/window_ids.h"

// The pause after the last change before the post is looked at again:
// short enough for the preview to follow within 150 ms of the last key,
// long enough that keys typed at speed do not each pay for a look.
inline constexpr UINT REVIEW_DELAY_MS = 75;
// How long a passing note stays on the status bar.
inline constexpr UINT NOTE_MS = 6000;

// Width of the splitter between the Editor control and the preview, at 96 DPI.
inline constexpr int SPLITTER_WIDTH = 6;

// Creates the status bar, and the preview's control if the user left the
// preview shown (otherwise when it is first shown), and fills them in
// without laying the window out: its first WM_SIZE does. False when the
// preview was to be shown and could not be created.
bool create_post_review(MainWindowState& state);

// The post changed: look at it again once the changes pause.
void post_changed(MainWindowState& state);

// The rules of the board the post is written for, as the user chose it.
const ForumProfile& chosen_forum(const MainWindowState& state);

// Shows a note (UTF-8) in the status bar for a few seconds: what a search
// found, how a paste was taken.
void show_passing_note(MainWindowState& state, const std::string& note);

// Handles WM_TIMER of the three timers above; false for any other timer.
bool on_review_timer(MainWindowState& state, UINT_PTR timer);

// Counts, tag check and preview brought up to date now, without the pause.
void review_post_now(MainWindowState& state);

// The interface speaks another language: the status bar's parts, the
// preview's labels and the preview's item in the new menu bar follow it.
void review_in_new_language(MainWindowState& state);

// "Náhled příspěvku" (F5): shows or hides the preview, and remembers it.
void toggle_preview(MainWindowState& state);
// "Kontrola tagů" (F8): selects the tag of the first problem in the Editor
// control, or says that the tags are fine.
void select_first_tag_problem(MainWindowState& state);
// "Limit znaků...": asks for the chosen board's limit and keeps it.
void change_character_limit(MainWindowState& state);
// "Fórum": the post is counted, checked and previewed for that board (an
// index of the board list) from now on, and the choice is remembered.
void choose_board(MainWindowState& state, size_t index);
// "Nastavení fóra...": the boards as the user changes them, kept.
void change_forum_settings(MainWindowState& state);
// The length part's tip: the post counted for every forum, each against
// its limit. The text lives in the state until the next call.
const wchar_t* length_tip(MainWindowState& state);
// After Copy: a copy of the whole post that takes a tag problem along
// shows the problem as a warning in the status bar, and no box.
void review_copied_post(MainWindowState& state);

// Puts the Editor control, and the preview with the splitter when it is
// shown, in the area between the toolbar and the status bar.
void lay_out_post_panes(MainWindowState& state, const RECT& area);
bool is_on_splitter(const MainWindowState& state, POINT client_point);
// Moves the splitter to a point of the Main window's client area.
void drag_splitter_to(MainWindowState& state, int x);
// Gives the preview its share of the width, in thousandths; neither pane
// gets too narrow to read.
void set_preview_share(MainWindowState& state, int per_mille);
// The same, for the next layout, without laying the panes out now.
void keep_preview_share(MainWindowState& state, int per_mille);
