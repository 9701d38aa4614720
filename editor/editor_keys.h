// The keys typed into the Editor control, led to the document's history:
// characters (a surrogate pair once both halves are there, and those of an
// input method), Enter, Backspace and Delete, the clipboard and undo keys as
// the Main window's commands, and the caret keys, which end a typing run.
// After a wrap, Left or Right also gives the caret the plain format; after
// a printer-width layout, the first key release lays the lines out at the
// window's width again.
#pragma once

#include <windows.h>

struct EditorSubclassState;

// The subclass's handlers of the key messages.
LRESULT on_editor_key_down(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
LRESULT on_editor_sys_key_down(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
LRESULT on_editor_key_up(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
LRESULT on_editor_char(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
// WM_IME_CHAR and WM_UNICHAR: a character an input method typed.
LRESULT on_editor_input_method_char(HWND editor, EditorSubclassState& state, UINT message, WPARAM wparam,
                                    LPARAM lparam);
