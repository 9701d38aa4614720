// How the Main window ends: a close, the end of a Windows session, its
// destruction, and a failure caught where a message came in.
#pragma once

#include <windows.h>

#include "win/caught_failure.h"

// WM_CLOSE: asks the save question, and closes unless the user stays.
void close_main_window(HWND window);
// WM_QUERYENDSESSION: the save question, as a close asks it.
BOOL may_end_session(HWND window);
// WM_ENDSESSION: the session ends with the user's answer given.
void end_session(HWND window, BOOL ending);
// WM_DESTROY: stops the timers, the threads and the controls.
void tear_down_main_window(HWND window);
// WM_CAUGHT_FAILURE: keeps the work and tells the user once a message.
void tell_caught_failure(HWND window, CaughtFailure failure, UINT message);
