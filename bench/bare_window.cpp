// The bare RICHEDIT window that the start-up benchmark starts beside the
// editor: a top-level window with the control in it, and nothing else.
// Built as forum-bare-window-bars, it also carries the editor's manifest
// and loads the common controls, as the editor must for its toolbar and
// status bar, and shows one of each: the least that any window with them
// costs to start on this platform. Built as forum-bare-window-frame, it
// also has the editor's resources, and its frame carries the editor's menu
// bar and icon, as the Main window's does: what those cost on their own.
#include "bench_support.h"

#include <commctrl.h>

#ifdef FORUM_BENCH_FRAME
#include "res/resource_ids.h"
#include "res/resource_names.h"
#endif

namespace {

void add_bars(HWND window)
{
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&classes);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0, window, nullptr,
                    instance, nullptr);
    CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr, instance, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    BareFrame frame;
#ifdef FORUM_BENCH_FRAME
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    frame = {LoadMenuW(instance, MAIN_MENU_RESOURCE), LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORUM_EDITOR))};
#endif
    HWND window = open_bare_window(frame);
    if (!window)
        return 1;
#ifdef FORUM_BENCH_BARS
    add_bars(window);
#endif
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
