#include "app/main_window.h"

#include <richedit.h>

#include "app/command_dispatch.h"
#include "app/document_state.h"
#include "document/document_files.h"
#include "format/char_format.h"
#include "markup/editor_key_hook.h"
#include "print/printing.h"
#include "res/resource_ids.h"
#include "ui/menus.h"
#include "ui/toolbar.h"

namespace {

void show_startup_error(HWND owner, const char* text)
{
    MessageBoxA(owner, text, "Error", MB_OK | MB_ICONERROR);
}

HWND create_editor(HWND window)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", EDITOR_STYLE, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDITOR)), g_doc.instance,
                           nullptr);
}

void install_editor_key_hook(HWND window)
{
    HWND editor = GetDlgItem(window, IDC_EDITOR);
    g_doc.editor_previous_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_key_hook)));
}

LRESULT on_create(HWND window)
{
    g_doc.toolbar = create_toolbar(window);

    // Without the rich-edit control there is nothing to edit in: say so and
    // let CreateWindowEx fail, instead of running on with an empty frame.
    g_doc.richedit_library = LoadLibraryA("RICHED32.DLL");
    if (!g_doc.richedit_library) {
        show_startup_error(window, "The rich edit library RICHED32.DLL cannot be loaded.");
        return -1;
    }
    g_doc.editor = create_editor(window);
    if (!g_doc.editor) {
        show_startup_error(window, "The editor cannot be created.");
        FreeLibrary(g_doc.richedit_library);
        g_doc.richedit_library = nullptr;
        return -1;
    }

    // Mouse notifications bring the right click to us as EN_MSGFILTER.
    auto event_mask = SendMessageA(g_doc.editor, EM_GETEVENTMASK, 0, 0);
    SendMessageA(g_doc.editor, EM_SETEVENTMASK, 0, event_mask | ENM_MOUSEEVENTS);
    // A long post or a large file must never be cut off at the control's
    // default limit of 64,000 characters.
    SendMessageA(g_doc.editor, EM_EXLIMITTEXT, 0, EDITOR_TEXT_LIMIT);

    set_default_font(g_doc.editor);
    set_print_target(g_doc.editor);
    install_editor_key_hook(window);
    return 0;
}

LRESULT on_size(WPARAM wparam, LPARAM lparam)
{
    int toolbar_height = 0;
    RECT toolbar_rect;
    if (g_doc.toolbar && GetWindowRect(g_doc.toolbar, &toolbar_rect))
        toolbar_height = toolbar_rect.bottom - toolbar_rect.top;

    const int width = LOWORD(lparam);
    const int height = HIWORD(lparam);
    MoveWindow(g_doc.editor, 0, toolbar_height, width, height - toolbar_height, TRUE);
    if (g_doc.toolbar)
        SendMessageA(g_doc.toolbar, WM_SIZE, wparam, lparam);
    SetFocus(g_doc.editor);
    return 0;
}

void show_context_menu(HWND window, const MSGFILTER& filter)
{
    POINT point{static_cast<LONG>(LOWORD(filter.lParam)), static_cast<LONG>(HIWORD(filter.lParam))};
    ClientToScreen(g_doc.editor, &point);

    HMENU menu = LoadMenuA(g_doc.instance, "MYPOPUP");
    if (!menu)
        return;
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, point.x,
                   point.y, 0, window, nullptr);
    DestroyMenu(menu);
}

LRESULT on_notify(HWND window, LPARAM lparam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->code != EN_MSGFILTER)
        return 0;
    const auto* filter = reinterpret_cast<const MSGFILTER*>(lparam);
    if (filter->msg == WM_RBUTTONDOWN)
        show_context_menu(window, *filter);
    // 0 lets the Editor control handle the button itself once the menu is closed.
    return 0;
}

LRESULT on_keyup()
{
    // Any key released in the editor puts the line layout back to the
    // window's own width, replacing the printer-width layout.
    SendMessageA(g_doc.editor, EM_SETTARGETDEVICE, 0, 0);
    return 0;
}

LRESULT on_command(HWND window, WPARAM wparam)
{
    dispatch_command(window, LOWORD(wparam));
    return 0;
}

LRESULT on_init_menu_popup(WPARAM wparam)
{
    refresh_menu_state(g_doc.editor, reinterpret_cast<HMENU>(wparam));
    return 0;
}

LRESULT on_close(HWND window)
{
    // Unsaved work is never dropped silently: the user may save it, discard
    // it or stay.
    if (!confirm_close(g_doc.editor))
        return 0;
    // The Editor control goes first, so that no rich-edit window is left
    // when the library is released on WM_DESTROY.
    DestroyWindow(g_doc.editor);
    g_doc.editor = nullptr;
    release_print_target();
    DestroyWindow(window);
    return 0;
}

LRESULT on_destroy()
{
    if (g_doc.richedit_library && !FreeLibrary(g_doc.richedit_library))
        MessageBoxA(nullptr, "LIBRARY ERROR", "Error", MB_OK);
    g_doc.richedit_library = nullptr;
    PostQuitMessage(0);
    return 0;
}

// Whenever the frame itself would get the keyboard focus (activation, a
// closed dialog), pass it on to the Editor control.
void redirect_focus_to_editor(HWND window)
{
    if (g_doc.editor && GetFocus() == window)
        SetFocus(g_doc.editor);
}

} // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    redirect_focus_to_editor(window);
    switch (message) {
    case WM_CREATE: return on_create(window);
    case WM_DESTROY: return on_destroy();
    case WM_SIZE: return on_size(wparam, lparam);
    case WM_CLOSE: return on_close(window);
    case WM_NOTIFY: return on_notify(window, lparam);
    case WM_KEYDOWN: return 0;
    case WM_KEYUP: return on_keyup();
    case WM_COMMAND: return on_command(window, wparam);
    case WM_INITMENUPOPUP: return on_init_menu_popup(wparam);
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}
