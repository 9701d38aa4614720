#include "app/startup.h"

#include "app/main_window.h"
#include "app/main_window_state.h"
#include "res/resource_ids.h"
#include "ui/menus.h"

ATOM register_main_class(HINSTANCE instance)
{
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_FORUM_EDITOR));
    window_class.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_FORUM_EDITOR));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszMenuName = "MYMENU";
    window_class.lpszClassName = FORUM_EDITOR_CLASS;
    return RegisterClassExA(&window_class);
}

HWND create_main_window(HINSTANCE instance, int show_command)
{
    HWND window = CreateWindowExA(0, FORUM_EDITOR_CLASS, FORUM_EDITOR_CLASS, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;

    ShowWindow(window, show_command);
    UpdateWindow(window);
    // Added to a visible window, so that the menu bar is drawn again with it.
    main_window_state(window)->parts.smiley_pictures = build_smiley_menu(window, instance);
    return window;
}

int run_message_loop(HWND main_window, HACCEL accelerators)
{
    MSG message{};
    // GetMessageA returns -1 on an invalid call; treat it like the end rather
    // than spinning on a message that was never filled in.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (accelerators && TranslateAcceleratorA(main_window, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int run_forum_editor(HINSTANCE instance, int show_command)
{
    if (!register_main_class(instance))
        return EXIT_STARTUP_FAILED;
    HWND main_window = create_main_window(instance, show_command);
    if (!main_window)
        return EXIT_STARTUP_FAILED;

    // A missing table only means that no shortcut works.
    HACCEL accelerators = LoadAcceleratorsA(instance, "MYACCEL");
    return run_message_loop(main_window, accelerators);
}
