// The Editor control: made ready for the program, and swapped for a fresh
// one when a long text must go.
#pragma once

#include <windows.h>

#include <functional>

// Style of the Editor control: child, visible, border, both scroll bars,
// multi-line, automatic scrolling and a selection that stays visible while
// a menu or dialog has the focus.
inline constexpr DWORD EDITOR_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                                      ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL;

struct MainWindowState;

// A new Editor control, made ready as every one is: its notifications,
// limit, font and subclass, and the history recording it, which calls
// `history_changed` after each change. It wraps at the window's edge: the
// printer's layout comes later, if at all. Nothing when it cannot be made.
HWND set_up_editor(MainWindowState& state, std::function<void()> history_changed);

// Empties the Editor control, under the wait cursor, and returns the control
// that holds the empty document. A long text goes with its control: a new
// one with the same settings takes its place, which is faster by far, since
// Wine's control deletes a large text paragraph by paragraph, for minutes,
// but destroyed frees it at once. Nothing thrown away is recorded.
HWND replace_editor(MainWindowState& state);

// Puts a fresh, empty Editor control in place of the present one, with the
// same settings, and returns it; the old one goes with its text. Nothing,
// with the old one left as it was, when no control could be made. Nothing
// is recorded: the history puts back what the document is to hold.
HWND swap_in_fresh_editor(MainWindowState& state);
