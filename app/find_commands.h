// Find and replace: the commands of the Edit menu, the system's dialog that
// asks for them, the messages about what was found and the undo steps of
// what was replaced.
#pragma once

#include <windows.h>

#include <optional>

#include "editor/find_replace.h"
#include "ui/find_dialog.h"

struct MainWindowState;

struct SearchState {
    FindDialog dialog;
    // The last search, for Find Next and Find Previous.
    SearchOptions last;
    // What the user had selected when the Replace box opened, and the
    // post's length then (kept up to date by Replace): Replace All keeps to
    // it when it is more than one match.
    std::optional<CHARRANGE> selection_at_open;
    LONG length_at_open = 0;
    // What the search itself selected last (a match it found): no choice of
    // the user's where to replace.
    CHARRANGE selected_by_search{-1, -1};
};

void open_find(MainWindowState& state);
void open_replace(MainWindowState& state);
void find_next_down(MainWindowState& state);
void find_next_up(MainWindowState& state);

// The dialog's FINDMSGSTRING message, with its lParam.
void take_find_request(MainWindowState& state, LPARAM request);

// The open Find or Replace dialog of this Main window, for the message
// loop; null when none is open.
HWND open_search_dialog(HWND main_window);

