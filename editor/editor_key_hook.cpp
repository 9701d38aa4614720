#include "editor/editor_key_hook.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "editor/edit_recorder.h"
#include "editor/insert_format.h"
#include "res/resource_ids.h"
#include "text/unicode_text.h"
#include "editor/editor_text.h"
#include "win/messages.h"

namespace {

// The control's user data, which the control leaves to its owner, leads the
// hook to its state. A window property would do as well, but under Wine
// each look at one asks the server: a cost on every message to the control.
KeyHookState& state_of(HWND editor)
{
    return *reinterpret_cast<KeyHookState*>(GetWindowLongPtrW(editor, GWLP_USERDATA));
}

LRESULT pass_on(HWND editor, const KeyHookState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcW(state.previous_proc, editor, message, wparam, lparam);
}

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

bool moves_caret(WPARAM key)
{
    switch (key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
        return true;
    default:
        return false;
    }
}

bool is_modifier(WPARAM key)
{
    switch (key) {
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
    case VK_MENU: case VK_LMENU: case VK_RMENU:
        return true;
    default:
        return false;
    }
}

// The keys that reach the control's own undo, redo and clipboard, as the
// Main window's commands, which the history records. With the program's
// shortcuts they never get here; they do where no shortcut is translated.
std::optional<WORD> command_of_key(WPARAM key, bool control)
{
    if (control && key == 'Z')
        return key_down(VK_SHIFT) ? IDM_EDIT_REDO : IDM_EDIT_UNDO;
    if (control && key == 'Y')
        return IDM_EDIT_REDO;
    if (control && key == 'X')
        return IDM_EDIT_CUT;
    if (control && key == 'V')
        return IDM_EDIT_PASTE;
    if (!control && (key == VK_DELETE || key == VK_INSERT) && key_down(VK_SHIFT))
        return key == VK_DELETE ? IDM_EDIT_CUT : IDM_EDIT_PASTE;
    return std::nullopt;
}

// Keys with which the control would change the document behind the
// history's back: Insert switches to overtyping, and Ctrl with other keys
// sets alignment, line spacing or character formats in some versions of it.
// Ctrl with the caret keys, A (all) and C or Insert (copy) stays.
bool is_control_own_edit_key(WPARAM key, bool control)
{
    if (!control)
        return key == VK_INSERT;
    return key != 'A' && key != 'C' && key != VK_INSERT && !is_modifier(key);
}

// Returns true when the key was taken care of here for the history. A key
// typed with nothing held asks for the key state once.
bool edit_through_history(HWND editor, const KeyHookState& state, WPARAM key)
{
    if (moves_caret(key)) {
        state.recorder->break_run();
        return false;
    }
    // Ctrl with Alt is AltGr, which types.
    const bool control = key_down(VK_CONTROL) && !key_down(VK_MENU);
    if (const auto command = command_of_key(key, control)) {
        SendMessageA(state.notify_window, WM_COMMAND, *command, 0);
        return true;
    }
    if (key == VK_BACK || key == VK_DELETE) {
        state.recorder->delete_character(key == VK_BACK);
        keep_caret_within_text(editor);
        return true;
    }
    return is_control_own_edit_key(key, control);
}

LRESULT on_key_down(HWND editor, const KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    if (state.drag.pressed && wparam == VK_ESCAPE) {
        ReleaseCapture();
        return 0;
    }
    SendMessageA(state.notify_window, WM_KEYDOWN, wparam, lparam);
    if (state.recorder && edit_through_history(editor, state, wparam))
        return 0;
    if (collapse_selection_for_arrow(editor, wparam))
        return 0;
    LRESULT result = 0;
    const auto press = [&] { result = pass_on(editor, state, WM_KEYDOWN, wparam, lparam); };
    // Enter may break the paragraph on the key itself rather than on its character.
    if (state.recorder && wparam == VK_RETURN)
        state.recorder->record_typing(u"\r", press);
    else
        press();
    keep_caret_within_text(editor);
    return result;
}

// Alt+Backspace undoes, as in any Windows edit field.
LRESULT on_sys_key_down(HWND editor, const KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    if (state.recorder && wparam == VK_BACK) {
        SendMessageA(state.notify_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
        return 0;
    }
    return pass_on(editor, state, WM_SYSKEYDOWN, wparam, lparam);
}

LRESULT on_key_up(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    reset_format_after_arrow(editor, state, wparam);
    SendMessageA(state.notify_window, WM_KEYUP, wparam, lparam);
    return pass_on(editor, state, WM_KEYUP, wparam, lparam);
}

// The control's window takes 8-bit characters, which would turn anything
// outside the code page into "?": a typed character beyond ASCII goes into
// the text as UTF-16 instead.
LRESULT put_in_typed(HWND editor, const KeyHookState& state, std::u16string_view typed, WPARAM wparam, LPARAM lparam)
{
    if (typed.size() == 1 && typed[0] < 0x80)
        return pass_on(editor, state, WM_CHAR, wparam, lparam);
    insert_typed_text(editor, typed);
    return 0;
}

// A surrogate pair goes in once both halves are there.
LRESULT on_char(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    const wchar_t typed = static_cast<wchar_t>(wparam);
    if (is_high_surrogate(typed)) {
        state.high_surrogate = typed;
        return 0;
    }
    std::u16string units;
    if (is_low_surrogate(typed) && state.high_surrogate)
        units = {static_cast<char16_t>(state.high_surrogate), static_cast<char16_t>(typed)};
    else
        units = {static_cast<char16_t>(typed)};
    state.high_surrogate = 0;
    if (!state.recorder)
        return put_in_typed(editor, state, units, wparam, lparam);
    // Backspace and Ctrl+Backspace deleted on their key already.
    if (typed == L'\b' || typed == 0x7F)
        return 0;
    LRESULT result = 0;
    state.recorder->record_typing(units, [&] { result = put_in_typed(editor, state, units, wparam, lparam); });
    return result;
}

// Text typed through an input method.
LRESULT on_input_method_char(HWND editor, const KeyHookState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_on(editor, state, message, wparam, lparam);
    LRESULT result = 0;
    const std::u16string typed(1, static_cast<char16_t>(wparam));
    state.recorder->record_typing(typed, [&] { result = pass_on(editor, state, message, wparam, lparam); });
    return result;
}

LONG character_at(HWND editor, LPARAM lparam)
{
    POINTL point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    return static_cast<LONG>(SendMessageA(editor, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
}

// The caret's height for text of the selection's size, in pixels.
int caret_height_for_selection(HWND editor)
{
    const CHARFORMAT2W format = get_selection_format_w(editor);
    const LONG twips = (format.dwMask & CFM_SIZE) && format.yHeight > 0 ? format.yHeight : 200;
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return MulDiv(twips, dpi, 1440) + 2;
}

// While the selection is dragged, a caret shows where it would go.
void show_drop_point(HWND editor, const SelectionDrag& drag, LONG at)
{
    POINTL point{};
    SendMessageA(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), at);
    CreateCaret(editor, nullptr, 2, drag.drop_caret_height);
    SetCaretPos(point.x, point.y);
    ShowCaret(editor);
}

LONG put_rtf_at(HWND editor, LONG at, const std::string& rtf)
{
    set_selection(editor, at, at);
    const LONG length_before = text_length(editor);
    stream_in(editor, rtf, SF_RTF | SFF_SELECTION);
    return text_length(editor) - length_before;
}

// Moves (or with Ctrl copies) the dragged text, formats and all, to `at`
// as one step of the history, and selects it there.
void drop_dragged_text(HWND editor, const KeyHookState& state, const CHARRANGE& dragged, LONG at, bool copy)
{
    at = std::min(at, text_length(editor));
    if (!copy && at >= dragged.cpMin && at <= dragged.cpMax) {
        set_selection(editor, at, at); // dropped where it stands: a click
        return;
    }
    const LONG dragged_length = dragged.cpMax - dragged.cpMin;
    if (copy && static_cast<std::size_t>(text_length(editor)) + dragged_length > state.size_limit) {
        show_message(editor, COPY_TOO_LARGE);
        return;
    }
    set_selection(editor, dragged.cpMin, dragged.cpMax);
    const std::optional<std::string> rtf = get_rtf(editor, true);
    if (!rtf)
        return;
    const CHARRANGE span = copy ? CHARRANGE{at, at} : CHARRANGE{std::min(at, dragged.cpMin), std::max(at, dragged.cpMax)};
    state.recorder->record_span(EditKind::clipboard, span, [&] {
        LONG first = at;
        LONG length = 0;
        if (copy) {
            length = put_rtf_at(editor, at, *rtf);
        } else if (at > dragged.cpMax) {
            // Put in behind first, so that the text before stays where it is.
            length = put_rtf_at(editor, at, *rtf);
            set_selection(editor, dragged.cpMin, dragged.cpMax);
            replace_selection_utf16(editor, u"");
            first = at - dragged_length;
        } else {
            set_selection(editor, dragged.cpMin, dragged.cpMax);
            replace_selection_utf16(editor, u"");
            length = put_rtf_at(editor, at, *rtf);
        }
        set_selection(editor, first, first + length);
    });
}

// A press on the selection may start dragging it; the control is not told,
// so that its own dragging never starts. Shift extends the selection as always.
LRESULT on_button_down(HWND editor, KeyHookState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_on(editor, state, message, wparam, lparam);
    state.recorder->break_run();
    const CHARRANGE selected = get_selection(editor);
    if (message != WM_LBUTTONDOWN || selected.cpMin == selected.cpMax || (wparam & MK_SHIFT))
        return pass_on(editor, state, message, wparam, lparam);
    const LONG at = character_at(editor, lparam);
    if (at < selected.cpMin || at >= selected.cpMax)
        return pass_on(editor, state, message, wparam, lparam);
    state.drag = {true, false, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}, selected,
                  caret_height_for_selection(editor)};
    SetFocus(editor);
    SetCapture(editor);
    return 0;
}

bool beyond_drag_distance(POINT from, LPARAM lparam)
{
    return std::abs(GET_X_LPARAM(lparam) - from.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(GET_Y_LPARAM(lparam) - from.y) > GetSystemMetrics(SM_CYDRAG);
}

LRESULT on_mouse_move(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.drag.pressed)
        return pass_on(editor, state, WM_MOUSEMOVE, wparam, lparam);
    if (!state.drag.dragging && beyond_drag_distance(state.drag.pressed_at, lparam))
        state.drag.dragging = true;
    if (state.drag.dragging) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        show_drop_point(editor, state.drag, character_at(editor, lparam));
    }
    return 0;
}

LRESULT on_button_up(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.drag.pressed)
        return pass_on(editor, state, WM_LBUTTONUP, wparam, lparam);
    const SelectionDrag drag = std::exchange(state.drag, {});
    ReleaseCapture();
    if (drag.dragging)
        DestroyCaret(); // the drop point's; the control makes its own again
    const LONG at = character_at(editor, lparam);
    if (drag.dragging)
        drop_dragged_text(editor, state, drag.dragged, at, (wparam & MK_CONTROL) != 0);
    else
        set_selection(editor, at, at);
    return 0;
}

// Another window took the mouse, or Escape was pressed: the drag is over
// and nothing moves.
LRESULT on_capture_changed(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    if (state.drag.pressed) {
        const CHARRANGE dragged = state.drag.dragged;
        if (state.drag.dragging)
            DestroyCaret();
        state.drag = {};
        set_selection(editor, dragged.cpMin, dragged.cpMax);
    }
    return pass_on(editor, state, WM_CAPTURECHANGED, wparam, lparam);
}

// Undo and redo asked of the control by message go to the history.
LRESULT on_undo_message(HWND editor, const KeyHookState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_on(editor, state, message, wparam, lparam);
    switch (message) {
    case EM_CANUNDO:
        return state.recorder->can_undo();
    case EM_CANREDO:
        return state.recorder->can_redo();
    case EM_REDO:
        return SendMessageA(state.notify_window, WM_COMMAND, IDM_EDIT_REDO, 0), TRUE;
    default: // WM_UNDO, EM_UNDO
        return SendMessageA(state.notify_window, WM_COMMAND, IDM_EDIT_UNDO, 0), TRUE;
    }
}

// Text put in from outside the program's own edits: a replaced selection
// is recorded like a command; a whole new text cannot be undone.
LRESULT on_text_message(HWND editor, const KeyHookState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    const auto send = [&] { result = pass_on(editor, state, message, wparam, lparam); };
    if (!state.recorder) {
        send();
        return result;
    }
    const bool into_selection = message == EM_REPLACESEL || (message == EM_STREAMIN && (wparam & SFF_SELECTION)) ||
                                (message == EM_SETTEXTEX && lparam && wparam &&
                                 (reinterpret_cast<const SETTEXTEX*>(wparam)->flags & ST_SELECTION));
    if (!into_selection) {
        send();
        state.recorder->text_replaced_from_outside();
    } else if (message == EM_REPLACESEL) {
        state.recorder->record(EditKind::command, send);
    } else {
        send(); // the program's own edits, recorded around them
    }
    return result;
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

LRESULT on_nc_destroy(HWND editor, const KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    const WNDPROC previous = state.previous_proc;
    SetWindowLongPtrW(editor, GWLP_USERDATA, 0);
    SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProcW(previous, editor, WM_NCDESTROY, wparam, lparam);
}

} // namespace

bool install_editor_key_hook(HWND editor, KeyHookState& state)
{
    SetWindowLongPtrW(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    if (GetWindowLongPtrW(editor, GWLP_USERDATA) != reinterpret_cast<LONG_PTR>(&state))
        return false;
    state.previous_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_key_hook)));
    return state.previous_proc != nullptr;
}

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    KeyHookState& state = state_of(window);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        return on_key_down(window, state, wparam, lparam);
    case WM_SYSKEYDOWN:
        return on_sys_key_down(window, state, wparam, lparam);
    case WM_KEYUP:
        return on_key_up(window, state, wparam, lparam);
    case WM_CHAR:
        return on_char(window, state, wparam, lparam);
    case WM_IME_CHAR:
    case WM_UNICHAR:
        return on_input_method_char(window, state, message, wparam, lparam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return on_button_down(window, state, message, wparam, lparam);
    case WM_MOUSEMOVE:
        return on_mouse_move(window, state, wparam, lparam);
    case WM_LBUTTONUP:
        return on_button_up(window, state, wparam, lparam);
    case WM_CAPTURECHANGED:
        return on_capture_changed(window, state, wparam, lparam);
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case EM_CANUNDO:
    case EM_CANREDO:
        return on_undo_message(window, state, message, wparam, lparam);
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case EM_SETTEXTEX:
    case EM_STREAMIN:
        return on_text_message(window, state, message, wparam, lparam);
    case WM_GETTEXT:
        return on_get_text(window, wparam, lparam);
    case WM_GETTEXTLENGTH:
        return text_length(window);
    case WM_NCDESTROY:
        return on_nc_destroy(window, state, wparam, lparam);
    default:
        return pass_on(window, state, message, wparam, lparam);
    }
}
