// The splitter between the Editor control and the preview pane, dragged
// with the mouse: the Main window's WM_SETCURSOR and mouse messages.
#pragma once

#include <windows.h>

BOOL set_splitter_cursor(HWND window, HWND cursor_window, UINT hit_test, UINT message);
void start_splitter_drag(HWND window, BOOL double_click, int x, int y, UINT keys);
void follow_splitter_drag(HWND window, int x, int y, UINT keys);
void end_splitter_drag(HWND window, int x, int y, UINT keys);
