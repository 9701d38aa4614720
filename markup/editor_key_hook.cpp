#include "markup/editor_key_hook.h"

#include "app/document_state.h"
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

} // namespace

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        SendMessageA(g_doc.main_window, message, wparam, lparam);
        return pass_on(window, message, wparam, lparam);
    case WM_KEYUP:
        reset_format_after_arrow(wparam);
        SendMessageA(g_doc.main_window, message, wparam, lparam);
        return pass_on(window, message, wparam, lparam);
    default:
        return pass_on(window, message, wparam, lparam);
    }
}
