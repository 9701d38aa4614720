// Dragging the selection within the Editor control with the mouse: the
// subclass does it itself, so that the move (or with Ctrl the copy) is one
// step of the history instead of an edit behind its back.
#pragma once

#include <windows.h>
#include <richedit.h>

struct EditorSubclassState;

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

// The subclass's handlers of the mouse messages that make up a drag.
LRESULT on_editor_left_button_down(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
LRESULT on_editor_mouse_move(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
LRESULT on_editor_left_button_up(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);
LRESULT on_editor_capture_changed(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam);

// Escape while the button is down ends the drag with nothing moved; true
// when it did so.
bool escape_ends_drag(const EditorSubclassState& state, WPARAM key);
