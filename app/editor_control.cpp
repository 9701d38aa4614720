#include "app/editor_control.h"

#include <richedit.h>

#include <utility>

#include "app/files_from_outside.h"
#include "app/main_window_state.h"
#include "app/post_review.h"
#include "app/spelling.h"
#include "editor/char_format.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "win/dpi.h"
#include "win/wait_cursor.h"

namespace {

HWND create_editor(HWND window, HINSTANCE instance)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", EDITOR_STYLE, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDITOR)), instance, nullptr);
}

// Text dropped from other programs would change the document behind the
// history's back (the subclass drags the selection within the control).
// A control that takes drops has loaded OLE to register for them; the
// program does not load it only to find that nothing is registered.
void refuse_dropped_text(HWND editor)
{
    HMODULE ole = GetModuleHandleA("ole32.dll");
    const auto revoke = ole ? reinterpret_cast<HRESULT(WINAPI*)(HWND)>(
                                  reinterpret_cast<void*>(GetProcAddress(ole, "RevokeDragDrop")))
                            : nullptr;
    if (revoke)
        revoke(editor);
}

} // namespace

HWND set_up_editor(MainWindowState& state, std::function<void()> history_changed)
{
    WindowParts& parts = state.parts;
    HWND window = parts.main_window;
    HWND editor = create_editor(window, parts.instance);
    if (!editor)
        return nullptr;
    parts.editor_subclass = {};

    // Mouse notifications bring the right click to us as EN_MSGFILTER, and
    // EN_CHANGE brings every change of the post to the status bar and the
    // preview.
    const auto event_mask = SendMessageA(editor, EM_GETEVENTMASK, 0, 0);
    SendMessageA(editor, EM_SETEVENTMASK, 0, event_mask | ENM_MOUSEEVENTS | ENM_CHANGE);
    // A long post or a large file must never be cut off at the control's
    // default limit of 64,000 characters.
    SendMessageA(editor, EM_EXLIMITTEXT, 0, EDITOR_TEXT_LIMIT);
    // Lines wrap at the window's edge from the start, before the printer's
    // layout or without one. Left to its style, the control lays every
    // paragraph out as one line, and Wine's then scrolls sideways and
    // repaints itself whole on each key typed past the edge: 4 to 10 ms.
    SendMessageA(editor, EM_SETTARGETDEVICE, 0, 0);

    set_default_font(editor);
    refuse_dropped_text(editor);
    accept_dropped_files(editor);
    EditRecorder& history = state.history;
    history.attach(editor, std::move(history_changed));
    history.renew_control_with([&state] { return swap_in_fresh_editor(state); });
    parts.editor_subclass.command_window = window;
    parts.editor_subclass.recorder = &history;
    parts.editor_subclass.size_limit = DOCUMENT_SIZE_LIMIT;
    install_editor_subclass(editor, parts.editor_subclass);
    return editor;
}

HWND replace_editor(MainWindowState& state)
{
    const WaitCursor wait;
    HWND old = state.parts.editor;
    // The deletion costs in the square of the lines: a short text goes at once.
    if (static_cast<std::size_t>(SendMessageW(old, EM_GETLINECOUNT, 0, 0)) < SLOW_DELETION_BREAKS) {
        SetWindowTextW(old, L"");
        return old;
    }
    if (HWND fresh = swap_in_fresh_editor(state))
        return fresh;
    // Emptied the slow way, then: the old control is as it was.
    SetWindowTextW(old, L"");
    return old;
}

HWND swap_in_fresh_editor(MainWindowState& state)
{
    WindowParts& parts = state.parts;
    HWND window = parts.main_window;
    HWND old = parts.editor;
    // What the user chose for the text and the view goes on.
    CHARFORMAT2W typing_format{};
    typing_format.cbSize = sizeof typing_format;
    SendMessageW(old, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&typing_format));
    HWND fresh = set_up_editor(state, state.history.listener());
    if (!fresh)
        return nullptr;
    SendMessageW(fresh, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&typing_format));
    SendMessageW(fresh, EM_SETBKGNDCOLOR, 0, state.colors.background.color);
    // A new control draws at the system's DPI, whatever the monitor's.
    zoom_to_dpi(fresh, window_dpi(window));
    parts.editor = fresh;
    DestroyWindow(old);
    underline_new_editor(state);
    RECT client{};
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    post_changed(state);
    return fresh;
}
