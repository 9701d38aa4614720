// Window procedure installed on the Editor control: it copies the control's
// key presses to the Main window and resets the typing format once the user
// steps off a freshly inserted tag with Left or Right.
#pragma once

#include <windows.h>

LRESULT CALLBACK editor_key_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
