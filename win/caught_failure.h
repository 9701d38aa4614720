// Nothing thrown may pass through Windows' own frames: between them and the
// program's code there is no one to catch it, and the program ends there
// with the user's text. Each window procedure and each callback that
// Windows calls catches at its entry instead; the message counts as not
// handled, and the Main window hears of it afterwards, to say what
// happened and to keep the work.
#pragma once

#include <windows.h>

#include "win/window_ids.h"

// WM_CAUGHT_FAILURE is posted to the window that owns the one where a
// failure was caught (the Main window).

enum class CaughtFailure : WPARAM { out_of_memory = 1, other = 2 };

// Call inside a catch block: reports what was caught while `window`
// handled `message`.
void report_caught_failure(HWND window, UINT message) noexcept;

// The handler's result, or `failed` once a failure is reported.
template <class Result, class Handler>
Result guarded(HWND window, UINT message, Result failed, Handler&& handler) noexcept
{
    try {
        return handler();
    } catch (...) {
        report_caught_failure(window, message);
        return failed;
    }
}
