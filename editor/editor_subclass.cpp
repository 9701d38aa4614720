#include "editor/editor_subclass.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>

#include "editor/edit_recorder.h"
#include "editor/editor_keys.h"
#include "editor/editor_text.h"
#include "editor/selection_drag.h"
#include "res/resource_ids.h"
#include "win/caught_failure.h"

namespace {

// The control's user data, which the control leaves to its owner, leads the
// subclass to its state. A window property would do as well, but under Wine
// each look at one asks the server: a cost on every message to the control.
EditorSubclassState& state_of(HWND editor)
{
    return *reinterpret_cast<EditorSubclassState*>(GetWindowLongPtrW(editor, GWLP_USERDATA));
}

// A click with another button moves the caret as well: what is typed next
// is a step of its own.
LRESULT on_other_button_down(HWND editor, const EditorSubclassState& state, UINT message, WPARAM wparam,
                             LPARAM lparam)
{
    if (state.recorder)
        state.recorder->break_run();
    return pass_to_control(editor, state, message, wparam, lparam);
}

// Undo and redo asked of the control by message go to the history, as the
// Main window's commands.
LRESULT on_undo(HWND editor, const EditorSubclassState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, message, wparam, lparam);
    send_command(state, IDM_EDIT_UNDO);
    return TRUE;
}

LRESULT on_redo(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, EM_REDO, wparam, lparam);
    send_command(state, IDM_EDIT_REDO);
    return TRUE;
}

// A paste asked of the control by message (another program may send one)
// goes to the Main window's Paste, which checks what the clipboard holds
// before the control sees it.
LRESULT on_paste(HWND editor, const EditorSubclassState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, message, wparam, lparam);
    send_command(state, IDM_EDIT_PASTE);
    return 0;
}

LRESULT on_can_undo(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, EM_CANUNDO, wparam, lparam);
    return state.recorder->can_undo();
}

LRESULT on_can_redo(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, EM_CANREDO, wparam, lparam);
    return state.recorder->can_redo();
}

// A whole new text put in from outside the program's own edits cannot be undone.
LRESULT replace_whole_text(HWND editor, const EditorSubclassState& state, UINT message, WPARAM wparam,
                           LPARAM lparam)
{
    const LRESULT result = pass_to_control(editor, state, message, wparam, lparam);
    if (state.recorder)
        state.recorder->text_replaced_from_outside();
    return result;
}

LRESULT on_set_text(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    return replace_whole_text(editor, state, WM_SETTEXT, wparam, lparam);
}

// A selection replaced from outside the program's own edits is recorded like a command.
LRESULT on_replace_selection(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    const auto send = [&] { result = pass_to_control(editor, state, EM_REPLACESEL, wparam, lparam); };
    if (state.recorder)
        state.recorder->record(EditKind::command, send);
    else
        send();
    return result;
}

// Into the selection, these are the program's own edits, recorded around them.
LRESULT on_set_text_ex(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    const auto* how = reinterpret_cast<const SETTEXTEX*>(wparam);
    if (how && lparam && (how->flags & ST_SELECTION))
        return pass_to_control(editor, state, EM_SETTEXTEX, wparam, lparam);
    return replace_whole_text(editor, state, EM_SETTEXTEX, wparam, lparam);
}

LRESULT on_stream_in(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (wparam & SFF_SELECTION)
        return pass_to_control(editor, state, EM_STREAMIN, wparam, lparam);
    return replace_whole_text(editor, state, EM_STREAMIN, wparam, lparam);
}

// The window text as the control holds it, for whoever asks in Unicode (a
// screen reader, another program): the control's own answer would go
// through the code page.
LRESULT on_get_text(HWND editor, WPARAM room, LPARAM buffer)
{
    if (room == 0 || buffer == 0)
        return 0;
    const std::u16string text = get_text_utf16(editor);
    const std::size_t copied = std::min<std::size_t>(text.size(), room - 1);
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::copy_n(text.begin(), copied, out);
    out[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

// The control paints, then the marks go over what it painted.
LRESULT on_paint(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    const std::optional<RECT> area = state.marks ? area_to_mark(editor, *state.marks) : std::nullopt;
    const LRESULT result = pass_to_control(editor, state, WM_PAINT, wparam, lparam);
    if (area)
        mark_painted_area(editor, *state.marks, *area);
    return result;
}

LRESULT on_timer(HWND editor, const EditorSubclassState& state, WPARAM timer, LPARAM lparam)
{
    if (state.marks && on_marks_timer(editor, *state.marks, timer))
        return 0;
    return pass_to_control(editor, state, WM_TIMER, timer, lparam);
}

// The caret may have left the word being typed: its mark shows.
LRESULT then_release_held_word(HWND editor, const EditorSubclassState& state, LRESULT result)
{
    if (state.marks)
        release_held_word(editor, *state.marks);
    return result;
}

LRESULT on_nc_destroy(HWND editor, const EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    stop_finding_marks(editor);
    const WNDPROC previous = state.previous_proc;
    SetWindowLongPtrW(editor, GWLP_USERDATA, 0);
    SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProcW(previous, editor, WM_NCDESTROY, wparam, lparam);
}

LRESULT handle_editor_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    EditorSubclassState& state = state_of(window);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        return on_editor_key_down(window, state, wparam, lparam);
    case WM_SYSKEYDOWN:
        return on_editor_sys_key_down(window, state, wparam, lparam);
    case WM_KEYUP:
        return then_release_held_word(window, state, on_editor_key_up(window, state, wparam, lparam));
    case WM_CHAR:
        return on_editor_char(window, state, wparam, lparam);
    case WM_IME_CHAR:
    case WM_UNICHAR:
        return on_editor_input_method_char(window, state, message, wparam, lparam);
    case WM_LBUTTONDOWN:
        return on_editor_left_button_down(window, state, wparam, lparam);
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return on_other_button_down(window, state, message, wparam, lparam);
    case WM_MOUSEMOVE:
        return on_editor_mouse_move(window, state, wparam, lparam);
    case WM_LBUTTONUP:
        return then_release_held_word(window, state, on_editor_left_button_up(window, state, wparam, lparam));
    case WM_KILLFOCUS:
        return then_release_held_word(window, state, pass_to_control(window, state, message, wparam, lparam));
    case WM_PAINT:
        return on_paint(window, state, wparam, lparam);
    case WM_TIMER:
        return on_timer(window, state, wparam, lparam);
    case WM_CAPTURECHANGED:
        return on_editor_capture_changed(window, state, wparam, lparam);
    case WM_UNDO:
    case EM_UNDO:
        return on_undo(window, state, message, wparam, lparam);
    case EM_REDO:
        return on_redo(window, state, wparam, lparam);
    case WM_PASTE:
    case EM_PASTESPECIAL:
        return on_paste(window, state, message, wparam, lparam);
    case EM_CANUNDO:
        return on_can_undo(window, state, wparam, lparam);
    case EM_CANREDO:
        return on_can_redo(window, state, wparam, lparam);
    case WM_SETTEXT:
        return on_set_text(window, state, wparam, lparam);
    case EM_REPLACESEL:
        return on_replace_selection(window, state, wparam, lparam);
    case EM_SETTEXTEX:
        return on_set_text_ex(window, state, wparam, lparam);
    case EM_STREAMIN:
        return on_stream_in(window, state, wparam, lparam);
    case WM_GETTEXT:
        return on_get_text(window, wparam, lparam);
    case WM_GETTEXTLENGTH:
        return text_length(window);
    case WM_DROPFILES:
        // Files dropped from Explorer are documents for the window to open,
        // not something for the control to put in the text.
        if (state.command_window)
            return SendMessageW(state.command_window, message, wparam, lparam);
        return pass_to_control(window, state, message, wparam, lparam);
    case WM_NCDESTROY:
        return on_nc_destroy(window, state, wparam, lparam);
    default:
        return pass_to_control(window, state, message, wparam, lparam);
    }
}

LRESULT CALLBACK editor_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guarded(window, message, LRESULT{0}, [&] { return handle_editor_message(window, message, wparam, lparam); });
}

} // namespace

LRESULT pass_to_control(HWND editor, const EditorSubclassState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcW(state.previous_proc, editor, message, wparam, lparam);
}

void send_command(const EditorSubclassState& state, WORD command)
{
    SendMessageW(state.command_window, WM_COMMAND, command, 0);
}

bool install_editor_subclass(HWND editor, EditorSubclassState& state)
{
    SetWindowLongPtrW(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    if (GetWindowLongPtrW(editor, GWLP_USERDATA) != reinterpret_cast<LONG_PTR>(&state))
        return false;
    state.previous_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_subclass_proc)));
    return state.previous_proc != nullptr;
}
