#include "editor/selection_drag.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "editor/edit_recorder.h"
#include "editor/editor_subclass.h"
#include "editor/editor_text.h"
#include "win/messages.h"

namespace {

LONG character_at(HWND editor, LPARAM lparam)
{
    POINTL point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    return static_cast<LONG>(SendMessageW(editor, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
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
    SendMessageW(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), at);
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
void drop_dragged_text(HWND editor, const EditorSubclassState& state, const CHARRANGE& dragged, LONG at, bool copy)
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

bool beyond_drag_distance(POINT from, LPARAM lparam)
{
    return std::abs(GET_X_LPARAM(lparam) - from.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(GET_Y_LPARAM(lparam) - from.y) > GetSystemMetrics(SM_CYDRAG);
}

} // namespace

// A press on the selection may start dragging it; the control is not told,
// so that its own dragging never starts. Shift extends the selection as always.
LRESULT on_editor_left_button_down(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.recorder)
        return pass_to_control(editor, state, WM_LBUTTONDOWN, wparam, lparam);
    state.recorder->break_run();
    const CHARRANGE selected = get_selection(editor);
    if (selected.cpMin == selected.cpMax || (wparam & MK_SHIFT))
        return pass_to_control(editor, state, WM_LBUTTONDOWN, wparam, lparam);
    const LONG at = character_at(editor, lparam);
    if (at < selected.cpMin || at >= selected.cpMax)
        return pass_to_control(editor, state, WM_LBUTTONDOWN, wparam, lparam);
    state.drag = {true, false, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}, selected,
                  caret_height_for_selection(editor)};
    SetFocus(editor);
    SetCapture(editor);
    return 0;
}

LRESULT on_editor_mouse_move(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.drag.pressed)
        return pass_to_control(editor, state, WM_MOUSEMOVE, wparam, lparam);
    if (!state.drag.dragging && beyond_drag_distance(state.drag.pressed_at, lparam))
        state.drag.dragging = true;
    if (state.drag.dragging) {
        // IDC_ARROW is a resource number, the same for either character set.
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        show_drop_point(editor, state.drag, character_at(editor, lparam));
    }
    return 0;
}

LRESULT on_editor_left_button_up(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (!state.drag.pressed)
        return pass_to_control(editor, state, WM_LBUTTONUP, wparam, lparam);
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
LRESULT on_editor_capture_changed(HWND editor, EditorSubclassState& state, WPARAM wparam, LPARAM lparam)
{
    if (state.drag.pressed) {
        const CHARRANGE dragged = state.drag.dragged;
        if (state.drag.dragging)
            DestroyCaret();
        state.drag = {};
        set_selection(editor, dragged.cpMin, dragged.cpMax);
    }
    return pass_to_control(editor, state, WM_CAPTURECHANGED, wparam, lparam);
}

bool escape_ends_drag(const EditorSubclassState& state, WPARAM key)
{
    if (!state.drag.pressed || key != VK_ESCAPE)
        return false;
    ReleaseCapture(); // the capture change ends the drag
    return true;
}
