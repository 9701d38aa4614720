#include "markup/editor_key_hook.h"

#include <algorithm>

#include "app/document_state.h"
#include "markup/editor_selection.h"
#include "markup/insert_format.h"

namespace {

bool left_shift_down()
{
    return (GetKeyState(VK_LSHIFT) & 0x8000) != 0;
}

// After a wrap the insertion is still selected in the markup's format; once
// Left or Right has collapsed the selection, give the caret the plain
// format so that what is typed next is not coloured like the tag. The left
// Shift key means the user is extending the selection, so wait.
void reset_format_after_arrow(WPARAM key)
{
    if (!g_doc.format_reset_pending || left_shift_down())
        return;
    if (key != VK_LEFT && key != VK_RIGHT)
        return;
    apply_plain_format(g_doc.editor);
    g_doc.format_reset_pending = false;
}

LRESULT pass_on(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcA(g_doc.editor_previous_proc, window, message, wparam, lparam);
}

bool key_down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
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
    const LONG end = GetWindowTextLengthA(editor);
    if (selected.cpMax > end)
        set_selection(editor, std::min(selected.cpMin, end), end);
}

LRESULT on_key_down(HWND window, WPARAM wparam, LPARAM lparam)
{
    SendMessageA(g_doc.main_window, WM_KEYDOWN, wparam, lparam);
    if (collapse_selection_for_arrow(window, wparam))
        return 0;
    const LRESULT result = pass_on(window, WM_KEYDOWN, wparam, lparam);
    keep_caret_within_text(window);
    return result;
}

} // namespace

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        return on_key_down(window, wparam, lparam);
    case WM_KEYUP:
        reset_format_after_arrow(wparam);
        SendMessageA(g_doc.main_window, message, wparam, lparam);
        return pass_on(window, message, wparam, lparam);
    default:
        return pass_on(window, message, wparam, lparam);
    }
}
