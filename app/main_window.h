// The Main window procedure: creates the toolbar and the Editor control,
// keeps them laid out, shows the context menu and hands commands on.
#pragma once

#include <windows.h>

// Lays the lines out for the printer once the window stands painted and
// idle: asking the printer for its page is no part of the first paint.
inline constexpr UINT_PTR PRINT_TARGET_TIMER = 5; // 1 to 4 are the review's, recovery's and spelling's
inline constexpr UINT PRINT_TARGET_DELAY_MS = 50;

// Style of the Editor control: child, visible, border, both scroll bars,
// multi-line, automatic scrolling and a selection that stays visible while
// a menu or dialog has the focus.
inline constexpr DWORD EDITOR_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                                      ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL;

struct MainWindowState;

// Empties the Editor control, under the wait cursor, and returns the control
// that holds the empty document. A long text goes with its control: a new
// one with the same settings takes its place, which is faster by far, since
// Wine's control deletes a large text paragraph by paragraph, for minutes,
// but destroyed frees it at once. Nothing thrown away is recorded.
HWND replace_editor(MainWindowState& state);

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
