// Subclass of the Editor control: it copies the control's key presses to the
// Main window, resets the typing format once the user steps off a freshly
// inserted tag with Left or Right, and leads every edit the user makes in
// the control itself (typing, Backspace and Delete, the clipboard keys,
// dragging the selection) and every way to the control's own undo to the
// document's history.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>

class EditRecorder;

// A press of the left button on the selection, until the button comes up:
// a click that puts the caret there, or a drag once the mouse has moved.
struct SelectionDrag {
    bool pressed = false;
    bool dragging = false;
    POINT pressed_at{};
    CHARRANGE dragged{};
    // The height of the caret that shows where the text would go.
    int drop_caret_height = 0;
};

// What the hook works with; the Main window owns it for the control's life.
struct KeyHookState {
    // Gets a copy of every key-down and key-up.
    HWND notify_window = nullptr;
    // An insertion is still selected in the markup's format: the next Left or
    // Right gives the caret the plain format.
    bool format_reset_pending = false;
    // The control's own window procedure, which the hook passes messages on to.
    WNDPROC previous_proc = nullptr;
    // The first half of a character typed as a surrogate pair, until the
    // second half arrives.
    wchar_t high_surrogate = 0;
    // Records what the user types and deletes; without one, the control's
    // own editing and undo run as they are.
    EditRecorder* recorder = nullptr;
    // The control's own drag and drop would move text behind the history's
    // back; the hook drags the selection itself, as one step.
    SelectionDrag drag;
    // The longest document, in characters, that copying dragged text may make.
    std::size_t size_limit = 0;
};

// Installs the hook on the control; false when the platform refused. The
// hook's window procedure is a Unicode one, so that typed characters reach
// the control whole whatever the code page.
bool install_editor_key_hook(HWND editor, KeyHookState& state);

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
