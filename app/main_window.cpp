#include "app/main_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <utility>

#include "app/command_dispatch.h"
#include "app/editor_control.h"
#include "app/file_commands.h"
#include "app/files_from_outside.h"
#include "app/long_operation.h"
#include "app/find_commands.h"
#include "app/interface_language.h"
#include "app/main_window_state.h"
#include "app/paste_commands.h"
#include "app/post_review.h"
#include "app/recent_files.h"
#include "app/recovery.h"
#include "app/spelling.h"
#include "app/splitter_drag.h"
#include "app/window_ending.h"
#include "app/window_memory.h"
#include "document/printing.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "res/resource_names.h"
#include "ui/menus.h"
#include "ui/toolbar.h"
#include "win/caught_failure.h"
#include "win/dpi.h"
#include "win/messages.h"

namespace {

MainWindowState& state_of(HWND window)
{
    return *main_window_state(window);
}

void show_startup_error(HWND owner, UINT text_id)
{
    show_message(owner, {text_id, IDS_CAPTION_CHYBA, MB_OK | MB_ICONERROR});
}

BOOL on_nc_create(HWND window, LPCREATESTRUCT create)
{
    auto* state = new MainWindowState;
    state->parts.instance = create->hInstance;
    state->parts.main_window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    // In the bar before the frame is measured for it.
    add_smiley_menu(GetMenu(window));
    return FORWARD_WM_NCCREATE(window, create, DefWindowProcW);
}

// The Undo button follows what can be undone, as the menu items do when
// they open; the recovery copy follows the unsaved changes.
void on_history_changed(HWND window)
{
    MainWindowState& state = state_of(window);
    // Most keys typed leave it as it was; only a change is worth a repaint.
    const bool can_undo = state.history.can_undo();
    if (state.parts.undo_button_enabled != can_undo) {
        enable_button(state.parts.toolbar, IDM_EDIT_UNDO, can_undo);
        state.parts.undo_button_enabled = can_undo;
    }
    recovery_document_changed(window, state);
}

BOOL on_create(HWND window, LPCREATESTRUCT create)
{
    // The preview's share as kept, before the window's first layout.
    if (const auto* memory = static_cast<const std::optional<WindowMemory>*>(create->lpCreateParams); memory && *memory)
        keep_preview_share(state_of(window), (*memory)->preview_per_mille);
    WindowParts& parts = state_of(window).parts;
    parts.toolbar = create_toolbar(window, window_dpi(window));

    // Without the rich-edit control there is nothing to edit in: say so and
    // let CreateWindowEx fail, instead of running on with an empty frame.
    // The library stays until the process ends: a control may still be
    // running when its window goes (its right-button handler runs the
    // context menu), and would return into freed code.
    if (!LoadLibraryA("RICHED32.DLL")) {
        show_startup_error(window, IDS_RICHEDIT_LIBRARY_MISSING);
        return FALSE;
    }
    start_recovery(window, state_of(window));
    parts.editor = set_up_editor(state_of(window), [window] { on_history_changed(window); });
    if (!parts.editor) {
        show_startup_error(window, IDS_EDITOR_NOT_CREATED);
        return FALSE;
    }
    // Asking the printer for its page waits until the window stands painted.
    SetTimer(window, PRINT_TARGET_TIMER, PRINT_TARGET_DELAY_MS, nullptr);
    on_history_changed(window);
    if (!create_post_review(state_of(window))) {
        show_startup_error(window, IDS_EDITOR_NOT_CREATED);
        return FALSE;
    }
    show_paste_choice(state_of(window));
    prepare_spelling(state_of(window));
    refresh_recent_files(state_of(window));
    check_language_item(window);
    accept_dropped_files(window);
    return TRUE;
}

// The toolbar on top, the status bar at the bottom, and between them the
// Editor control with the preview beside it.
void on_size(HWND window, UINT state, int width, int height)
{
    MainWindowState& main_state = state_of(window);
    const WindowParts& parts = main_state.parts;
    int toolbar_height = 0;
    RECT toolbar_rect;
    if (parts.toolbar.window && GetWindowRect(parts.toolbar.window, &toolbar_rect))
        toolbar_height = toolbar_rect.bottom - toolbar_rect.top;
    const int status_height = lay_out_status_bar(parts.status_bar);

    lay_out_post_panes(main_state, {0, toolbar_height, width, std::max(height - status_height, toolbar_height)});
    if (parts.toolbar.window)
        FORWARD_WM_SIZE(parts.toolbar.window, state, width, height, SendMessageW);
    SetFocus(parts.editor);
}

// Moved to a monitor of another DPI, or the user changed it: the window
// takes the rectangle Windows suggests and its parts follow the new DPI.
void on_dpi_changed(HWND window, UINT dpi, const RECT& suggested)
{
    MainWindowState& state = state_of(window);
    WindowParts& parts = state.parts;
    if (parts.toolbar.window)
        DestroyWindow(parts.toolbar.window);
    parts.toolbar = create_toolbar(window, dpi);
    parts.undo_button_enabled = state.history.can_undo();
    enable_button(parts.toolbar, IDM_EDIT_UNDO, parts.undo_button_enabled);
    fit_status_parts(parts.status_bar);
    zoom_to_dpi(parts.editor, dpi);
    zoom_to_dpi(parts.preview.window, dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The toolbar's height may have changed where the window's size has not.
    RECT client{};
    GetClientRect(window, &client);
    on_size(window, SIZE_RESTORED, client.right, client.bottom);
}

// Whenever the frame itself gets the keyboard focus (activation, a closed
// dialog), pass it on to the Editor control.
void on_set_focus(HWND window, HWND)
{
    if (HWND editor = state_of(window).parts.editor)
        SetFocus(editor);
}

// Back from another program, which may have changed the document's file.
void on_activate(HWND window, UINT activation, HWND other, BOOL minimized)
{
    if (activation != WA_INACTIVE && !minimized)
        PostMessageW(window, WM_CHECK_FILE_ON_DISK, 0, 0);
    FORWARD_WM_ACTIVATE(window, activation, other, minimized, DefWindowProcW);
}

void check_file_on_disk(HWND window)
{
    MainWindowState& state = state_of(window);
    LongOperation busy(state, LongWork::opening);
    if (offer_reload(state.parts.editor, state.document, state.history.is_modified(),
                     [&state] { return replace_editor(state); }, busy.progress()))
        state.history.start_new();
}

void show_context_menu(HWND window, const MSGFILTER& filter)
{
    WindowParts& parts = state_of(window).parts;
    const POINT in_editor{GET_X_LPARAM(filter.lParam), GET_Y_LPARAM(filter.lParam)};
    POINT point = in_editor;
    ClientToScreen(parts.editor, &point);

    const OwnedMenu menu(LoadMenuW(parts.instance, CONTEXT_MENU_RESOURCE));
    if (!menu)
        return;
    add_spelling_to_context_menu(state_of(window), GetSubMenu(menu.get(), 0), in_editor);
    parts.context_menu_open = true;
    TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, point.x, point.y, 0,
                   window, nullptr);
    parts.context_menu_open = false;
    if (std::exchange(parts.close_after_menu, false))
        PostMessageW(window, WM_CLOSE, 0, 0);
}

LRESULT on_notify(HWND window, int, NMHDR* header)
{
    if (header->code == TBN_GETINFOTIPW) {
        answer_button_tip(*reinterpret_cast<NMTBGETINFOTIPW*>(header));
        return 0;
    }
    MainWindowState& state = state_of(window);
    if (header->code == TTN_GETDISPINFOW && header->hwndFrom == state.parts.status_bar.tip) {
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = const_cast<wchar_t*>(length_tip(state));
        return 0;
    }
    if (header->code != EN_MSGFILTER)
        return 0;
    const auto* filter = reinterpret_cast<const MSGFILTER*>(header);
    if (filter->msg == WM_RBUTTONDOWN)
        show_context_menu(window, *filter);
    // 0 lets the Editor control handle the button itself once the menu is closed.
    return 0;
}

void on_command(HWND window, int id, HWND control, UINT code)
{
    MainWindowState& state = state_of(window);
    if (control == state.parts.editor && code == EN_CHANGE) {
        post_changed(state);
        return;
    }
    // Menus and shortcuts come without a control; of the controls, only a
    // toolbar click is a command. The Editor control's other notifications
    // are not.
    const bool from_menu_or_shortcut = control == nullptr;
    const bool toolbar_click = control == state.parts.toolbar.window && code == BN_CLICKED;
    if (from_menu_or_shortcut || toolbar_click)
        dispatch_command(state, static_cast<WORD>(id));
}

void look_up_printer(HWND window)
{
    KillTimer(window, PRINT_TARGET_TIMER);
    state_of(window).parts.printer_lookup.start([window] { PostMessageW(window, WM_PRINTER_FOUND, 0, 0); });
}

void on_printer_found(HWND window)
{
    WindowParts& parts = state_of(window).parts;
    lay_out_for_printer(parts.editor, parts.printer_lookup.take(), parts.print_target,
                        parts.editor_subclass.lines_at_printer_width);
}

void on_timer(HWND window, UINT id)
{
    if (id == RECOVERY_TIMER_ID)
        recovery_timer(window, state_of(window));
    else if (id == SPELL_START_TIMER)
        start_spelling(state_of(window));
    else if (id == PRINT_TARGET_TIMER)
        look_up_printer(window);
    else
        on_review_timer(state_of(window), id);
}

void on_draw_item(HWND window, const DRAWITEMSTRUCT* item)
{
    draw_status_part(state_of(window).parts.status_bar, *item);
}

void on_init_menu_popup(HWND window, HMENU popup, UINT, BOOL)
{
    MainWindowState& state = state_of(window);
    if (popup == GetSubMenu(GetMenu(window), 0))
        refresh_recent_files(state);
    if (fill_smiley_menu(popup, state.parts.instance, state.parts.smiley_pictures))
        return;
    refresh_menu_state(state.parts.editor, popup, state.history.can_undo(), state.history.can_redo());
}

void on_nc_destroy(HWND window)
{
    delete main_window_state(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

} // namespace

MainWindowState* main_window_state(HWND main_window)
{
    return reinterpret_cast<MainWindowState*>(GetWindowLongPtrW(main_window, GWLP_USERDATA));
}

namespace {

LRESULT handle_message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // HANDLE_MSG expects the parameters under these names.
    if (message != WM_NCCREATE && !main_window_state(window))
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        HANDLE_MSG(window, WM_NCCREATE, on_nc_create);
        HANDLE_MSG(window, WM_CREATE, on_create);
        HANDLE_MSG(window, WM_SIZE, on_size);
        HANDLE_MSG(window, WM_SETFOCUS, on_set_focus);
        HANDLE_MSG(window, WM_ACTIVATE, on_activate);
        HANDLE_MSG(window, WM_NOTIFY, on_notify);
        HANDLE_MSG(window, WM_COMMAND, on_command);
        HANDLE_MSG(window, WM_TIMER, on_timer);
        HANDLE_MSG(window, WM_DRAWITEM, on_draw_item);
        HANDLE_MSG(window, WM_SETCURSOR, set_splitter_cursor);
        HANDLE_MSG(window, WM_LBUTTONDOWN, start_splitter_drag);
        HANDLE_MSG(window, WM_MOUSEMOVE, follow_splitter_drag);
        HANDLE_MSG(window, WM_LBUTTONUP, end_splitter_drag);
        HANDLE_MSG(window, WM_INITMENUPOPUP, on_init_menu_popup);
        HANDLE_MSG(window, WM_DROPFILES, open_dropped_files);
        HANDLE_MSG(window, WM_CLOSE, close_main_window);
        HANDLE_MSG(window, WM_QUERYENDSESSION, may_end_session);
        HANDLE_MSG(window, WM_ENDSESSION, end_session);
        HANDLE_MSG(window, WM_DESTROY, tear_down_main_window);
    case WM_DPICHANGED:
        on_dpi_changed(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SPELL_ANSWERED:
        take_spelling_answer(state_of(window));
        return 0;
    case WM_CHECK_FILE_ON_DISK:
        check_file_on_disk(window);
        return 0;
    case WM_PRINTER_FOUND:
        on_printer_found(window);
        return 0;
    case WM_RECOVERY_WRITE_FAILED:
        recovery_write_failed(window, state_of(window), static_cast<DWORD>(wParam));
        return 0;
    case WM_CAUGHT_FAILURE:
        tell_caught_failure(window, static_cast<CaughtFailure>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_NCDESTROY:
        on_nc_destroy(window);
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        if (message == find_dialog_message()) {
            take_find_request(state_of(window), lParam);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // A failed WM_CREATE fails the window's creation.
    const LRESULT failed = message == WM_CREATE ? -1 : 0;
    return guarded(window, message, failed, [&] { return handle_message(window, message, wparam, lparam); });
}
