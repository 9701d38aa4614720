// Subclass of the Editor control: it copies the control's key presses to the
// Main window and resets the typing format once the user steps off a freshly
// inserted tag with Left or Right.
#pragma once

#include <windows.h>
#include <commctrl.h>

// What the hook works with; the Main window owns it for the control's life.
struct KeyHookState {
    // Gets a copy of every key-down and key-up.
    HWND notify_window = nullptr;
    // An insertion is still selected in the markup's format: the next Left or
    // Right gives the caret the plain format.
    bool format_reset_pending = false;
};

// Installs the hook on the control; false when the platform refused.
bool install_editor_key_hook(HWND editor, KeyHookState& state);
void remove_editor_key_hook(HWND editor);

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                 DWORD_PTR state);
