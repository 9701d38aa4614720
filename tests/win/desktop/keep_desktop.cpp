// fe-desktop-keeper: keeps Wine's desktop in use for a whole test run.
//
// Wine starts its desktop process (explorer.exe /desktop) for the first
// program that needs a window and ends it about a second after the last one
// has gone. Started by a test, the desktop process inherits that test's
// output, and ctest waits for it until no Wine program at all has been
// running for a moment: tests that take one second take a minute. Started
// once by this program, with its output going nowhere, the desktop stays.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // A window that is never shown is enough to use the desktop.
    HWND window = CreateWindowExA(0, "STATIC", "forum-editor test desktop keeper", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
