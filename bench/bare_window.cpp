// The bare RICHEDIT window that the start-up benchmark starts beside the
// editor: a top-level window with the control in it, and nothing else.
#include "bench_support.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!open_bare_window())
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
