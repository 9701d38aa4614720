#include "editor/editor_keys.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "editor/edit_recorder.h"
#include "editor/editor_subclass.h"
#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "res/resource_ids.h"
#include "text/unicode/unicode_text.h"

namespace {

bool key_down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// After a wrap the insertion is still selected in the markup's format; once
// Left or Right has collapsed the selection, give the caret the plain
// format so that what is typed next is not coloured like the tag. The left
// Shift key means the user is extending the selection, so wait.
void reset_format_after_arrow(HWND editor, EditorSubclassState& state, WPARAM key)
{
    if (!state.format_reset_pending || key_down(VK_LSHIFT))
        return;
    if (key != VK_LEFT && key != VK_RIGHT)
        return;
    apply_plain_format(editor);
    state.format_reset_pending = false;
}

// After a printer-width layout, the first key release lays the lines out at
// the window's edge again. Only then: the control re-wraps the whole
// document on this message, whatever the layout was.
void end_printer_layout(HWND editor, EditorSubclassState& state)
{
    if (!state.lines_at_printer_width)
        return;
    SendMessageW(editor, EM_SETTARGETDEVICE, 0, 0);
    state.lines_at_printer_width = false;
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
        return key_down(VK_SHIFT) ? IDM_EDIT_PASTE_TEXT : IDM_EDIT_PASTE;
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
bool edit_through_history(HWND editor, const EditorSubclassState& state, WPARAM key)
{
    if (moves_caret(key)) {
        state.recorder->break_run();
        return false;
    }
    // Ctrl with Alt is AltGr, which types.
    const bool control = key_down(VK_CONTROL) && !key_down(VK_MENU);
    if (const auto command = command_of_key(key, control)) {
        send_command(state, *command);
        return true;
    }
    if (key == VK_BACK || key == VK_DELETE) {
        state.recorder->delete_character(key == VK_BACK);
        keep_caret_within_text(editor);
        return true;
    }
    return is_control_own_edit_key(key, control);
}

// The control's window takes 8-bit characters, which would turn anything
// outside the code page into "?": a typed character beyond ASCII goes into
// the text as UTF-16 instead.
LRESULT insert_typed(HWND editor, const EditorSubclassState& state, std::u16string_view typed, WPARAM wparam,
                     LPARAM lparam)
{
    if (typed.size() == 1 && typed[0] < 0x80)
        return pass_to_control(editor, state, WM_CHAR, wparam, lparam);
    insert_typed_text(editor, typed);
    return 0;
}

} // namespace

LRESULT on_editor_key_down(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (escape_ends_drag(state, wparam))
        return 0;
    if (state.recorder && edit_through_history(editor, state, wparam))
        return 0;
    if (collapse_selection_for_arrow(editor, wparam))
        return 0;
    LRESULT result = 0;
    const auto press = [&] { result = pass_to_control(editor, state, WM_KEYDOWN, wparam, lparam); };
    // Enter may break the paragraph on the key itself rather than on its character.
    if (state.recorder && wparam == VK_RETURN)
        state.recorder->record_typing(u"\r", press);
    else
        press();
    keep_caret_within_text(editor);
    return result;
}

// Alt+Backspace undoes, as in any Windows edit field.
LRESULT on_editor_sys_key_down(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (state.recorder && wparam == VK_BACK) {
        send_command(state, IDM_EDIT_UNDO);
        return 0;
    }
    return pass_to_control(editor, state, WM_SYSKEYDOWN, wparam, lparam);
}

LRESULT on_editor_key_up(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    reset_format_after_arrow(editor, state, wparam);
    end_printer_layout(editor, state);
    return pass_to_control(editor, state, WM_KEYUP, wparam, lparam);
}

// A surrogate pair goes in once both halves are there.
LRESULT on_editor_char(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
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
        return insert_typed(editor, state, units, wparam, lparam);
    // Backspace and Ctrl+Backspace deleted on their key already.
    if (typed == L'\b' || typed == 0x7F)
        return 0;
    LRESULT result = 0;
    state.recorder->record_typing(units, [&] { result = insert_typed(editor, state, units, wparam, lparam); });
    return result;
}

LRESULT on_editor_input_method_char(HWND editor, EditorSubclassState& state, UINT message, WPARAM wparam,
                                    LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, message, wparam, lparam);
    LRESULT result = 0;
    const std::u16string typed(1, static_cast<char16_t>(wparam));
    state.recorder->record_typing(typed, [&] { result = pass_to_control(editor, state, message, wparam, lparam); });
    return result;
}
