#include "markup/editor_key_hook.h"

#include <algorithm>

#include "markup/insert_format.h"
#include "ui/editor_text.h"

namespace {

// The window property that leads the hook to its state.
constexpr wchar_t KEY_HOOK_STATE[] = L"ForumEditor.KeyHook";

KeyHookState& state_of(HWND editor)
{
    return *static_cast<KeyHookState*>(GetPropW(editor, KEY_HOOK_STATE));
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

LRESULT on_key_down(HWND editor, const KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    SendMessageA(state.notify_window, WM_KEYDOWN, wparam, lparam);
    if (collapse_selection_for_arrow(editor, wparam))
        return 0;
    const LRESULT result = pass_on(editor, state, WM_KEYDOWN, wparam, lparam);
    keep_caret_within_text(editor);
    return result;
}

LRESULT on_key_up(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    reset_format_after_arrow(editor, state, wparam);
    SendMessageA(state.notify_window, WM_KEYUP, wparam, lparam);
    return pass_on(editor, state, WM_KEYUP, wparam, lparam);
}

bool is_high_surrogate(WPARAM c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool is_low_surrogate(WPARAM c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The control's window takes 8-bit characters, which would turn anything
// outside the code page into "?": a typed character beyond ASCII goes into
// the text as UTF-16 instead, a surrogate pair once both halves are there.
LRESULT on_char(HWND editor, KeyHookState& state, WPARAM wparam, LPARAM lparam)
{
    const wchar_t typed = static_cast<wchar_t>(wparam);
    if (is_high_surrogate(typed)) {
        state.high_surrogate = typed;
        return 0;
    }
    if (is_low_surrogate(typed) && state.high_surrogate) {
        const char16_t pair[] = {static_cast<char16_t>(state.high_surrogate), static_cast<char16_t>(typed)};
        state.high_surrogate = 0;
        insert_typed_text(editor, std::u16string_view(pair, 2));
        return 0;
    }
    state.high_surrogate = 0;
    if (typed < 0x80)
        return pass_on(editor, state, WM_CHAR, wparam, lparam);
    const char16_t one = static_cast<char16_t>(typed);
    insert_typed_text(editor, std::u16string_view(&one, 1));
    return 0;
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
    RemovePropW(editor, KEY_HOOK_STATE);
    SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProcW(previous, editor, WM_NCDESTROY, wparam, lparam);
}

} // namespace

bool install_editor_key_hook(HWND editor, KeyHookState& state)
{
    if (!SetPropW(editor, KEY_HOOK_STATE, &state))
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
    case WM_KEYUP:
        return on_key_up(window, state, wparam, lparam);
    case WM_CHAR:
        return on_char(window, state, wparam, lparam);
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
