#include "app/splitter_drag.h"

#include <windowsx.h>

#include "app/main_window_state.h"
#include "app/post_review.h"

namespace {

MainWindowState& state_of(HWND window)
{
    return *main_window_state(window);
}

} // namespace

BOOL set_splitter_cursor(HWND window, HWND cursor_window, UINT hit_test, UINT message)
{
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    if (cursor_window == window && hit_test == HTCLIENT && is_on_splitter(state_of(window), point)) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
        return TRUE;
    }
    return FORWARD_WM_SETCURSOR(window, cursor_window, hit_test, message, DefWindowProcW);
}

void start_splitter_drag(HWND window, BOOL, int x, int y, UINT)
{
    MainWindowState& state = state_of(window);
    if (!is_on_splitter(state, {x, y}))
        return;
    state.review.dragging_splitter = true;
    SetCapture(window);
}

void follow_splitter_drag(HWND window, int x, int, UINT)
{
    MainWindowState& state = state_of(window);
    // Capture taken away (another window came up): the drag is over.
    if (state.review.dragging_splitter && GetCapture() != window)
        state.review.dragging_splitter = false;
    if (state.review.dragging_splitter)
        drag_splitter_to(state, x);
}

void end_splitter_drag(HWND window, int, int, UINT)
{
    MainWindowState& state = state_of(window);
    if (!state.review.dragging_splitter)
        return;
    state.review.dragging_splitter = false;
    ReleaseCapture();
}
