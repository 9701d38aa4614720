#include "markup/editor_key_hook.h"

#include <algorithm>

#include "markup/insert_format.h"
#include "ui/editor_text.h"

namespace {

constexpr UINT_PTR KEY_HOOK_ID = 1;

bool key_down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// After a wrap the insertion is still selected in the markup's format; once
// Left or Right has collapsed the selection, give the caret the plain
// format so that what is typed next is not coloured like the tag. The left
// Shift key means the user is extending the selection, so wait.
void reset_format_after_arrow(HWND editor, KeyHookState& state, WPARAM key)
{
    if (!state.format_reset_pending || key_down(VK_LSHIFT))
        return;
    if (key != VK_LEFT && key != VK_RIGHT)
        return;
    apply_plain_format(editor);
    state.format_reset_pending = false;
}

// Left or Right on a selection puts the caret at that end of it, as users
// know it: straight after a freshly inserted tag, ready to type on. Some
// rich-edit versions move one character further instead, past the end of
// the text when the selection ends there. Returns true when it did so.
bool collapse_selection_for_arrow(HWND editor, WPARAM key)
{
    if ((key != VK_LEFT && key != VK_RIGHT) || key_down(VK_SHIFT) || key_down(VK_CONTROL) || key_down(VK_MENU))
        return false;
    const CHARRANGE selected = get_selection(editor);
    if (selected.cpMin == selected.cpMax)
        return false;
    const LONG caret = key == VK_LEFT ? selected.cpMin : selected.cpMax;
    set_selection(editor, caret, caret);
    return true;
}

// Text typed behind the control's closing paragraph mark would be shown but
// never copied or saved; keep the caret within the text.
void keep_caret_within_text(HWND editor)
{
    const CHARRANGE selected = get_selection(editor);
    const LONG end = text_length(editor);
    if (selected.cpMax > end)
        set_selection(editor, std::min(selected.cpMin, end), end);
}

LRESULT on_key_down(HWND editor, const KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    SendMessageA(state.notify_window, WM_KEYDOWN, wparam, lparam);
    if (collapse_selection_for_arrow(editor, wparam))
        return 0;
    const LRESULT result = DefSubclassProc(editor, WM_KEYDOWN, wparam, lparam);
    keep_caret_within_text(editor);
    return result;
}

LRESULT on_key_up(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    reset_format_after_arrow(editor, state, wparam);
    SendMessageA(state.notify_window, WM_KEYUP, wparam, lparam);
    return DefSubclassProc(editor, WM_KEYUP, wparam, lparam);
}

} // namespace

bool install_editor_key_hook(HWND editor, KeyHookState& state)
{
    return SetWindowSubclass(editor, editor_key_hook, KEY_HOOK_ID, reinterpret_cast<DWORD_PTR>(&state)) != 0;
}

void remove_editor_key_hook(HWND editor)
{
    RemoveWindowSubclass(editor, editor_key_hook, KEY_HOOK_ID);
}

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR state_pointer)
{
    auto& state = *reinterpret_cast<KeyHookState*>(state_pointer);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        return on_key_down(window, state, wparam, lparam);
    case WM_KEYUP:
        return on_key_up(window, state, wparam, lparam);
    default:
        return DefSubclassProc(window, message, wparam, lparam);
    }
}
