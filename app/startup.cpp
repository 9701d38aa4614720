#include "app/startup.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/files_from_outside.h"
#include "app/find_commands.h"
#include "app/interface_language.h"
#include "app/main_window.h"
#include "app/main_window_state.h"
#include "app/recovery.h"
#include "app/window_memory.h"
#include "res/resource_ids.h"
#include "res/resource_names.h"
#include "ui/menus.h"
#include "win/caught_failure.h"
#include "win/dpi.h"
#include "win/user_folders.h"

namespace {

// The class name as the wide functions take it; it is plain ASCII.
std::wstring wide_class_name()
{
    const std::string_view name = FORUM_EDITOR_CLASS;
    return std::wstring(name.begin(), name.end());
}

// What the command line asks for, read from the words after the program's name.
StartArguments start_arguments()
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return {};
    const std::vector<std::wstring> arguments(words + std::min(count, 1), words + count);
    LocalFree(words);
    return read_start_arguments(arguments);
}

} // namespace

// The Main window is a Unicode window, and so is its message loop, so that
// typed characters reach the editor whole whatever the code page.
ATOM register_main_class(HINSTANCE instance)
{
    static const std::wstring class_name = wide_class_name();
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORUM_EDITOR));
    window_class.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORUM_EDITOR));
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszMenuName = MAIN_MENU_RESOURCE;
    window_class.lpszClassName = class_name.c_str();
    return RegisterClassExW(&window_class);
}

HWND create_main_window(HINSTANCE instance, int show_command)
{
    const std::wstring class_name = wide_class_name();
    // Created where it was left, with the preview's share it had (WM_CREATE
    // takes that), the window gets its size and is laid out once.
    std::optional<WindowMemory> memory = load_window_memory();
    // The default size grows with the user's DPI, as the text in it does.
    const UINT dpi = system_dpi();
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    int width = scaled(MAIN_WINDOW_WIDTH, dpi), height = scaled(MAIN_WINDOW_HEIGHT, dpi);
    if (const std::optional<RECT> kept = first_place(memory)) {
        x = kept->left;
        y = kept->top;
        width = kept->right - kept->left;
        height = kept->bottom - kept->top;
    }
    HWND window = CreateWindowExW(0, class_name.c_str(), class_name.c_str(), WS_OVERLAPPEDWINDOW, x, y, width, height,
                                  nullptr, nullptr, instance, &memory);
    if (!window)
        return nullptr;

    show_main_window(window, memory, show_command);
    UpdateWindow(window);
    return window;
}

int run_message_loop(HWND main_window, HACCEL accelerators)
{
    MSG message{};
    // GetMessageW returns -1 on an invalid call; treat it like the end rather
    // than spinning on a message that was never filled in.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The Find and Replace dialogs are modeless: their keys are theirs.
        HWND search_dialog = open_search_dialog(main_window);
        if (search_dialog && IsDialogMessageW(search_dialog, &message))
            continue;
        if (accelerators && TranslateAcceleratorW(main_window, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool open_copy_in_new_editor(const std::wstring& path)
{
    const std::wstring program = program_path();
    std::wstring command_line = L"\"" + program + L"\" " + RECOVER_SWITCH + L" \"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void take_start_arguments(HWND main_window, const StartArguments& start)
{
    MainWindowState& state = *main_window_state(main_window);
    if (start.recovery_copy)
        restore_recovery_copy(main_window, state, *start.recovery_copy);
    else
        offer_recovery_copies(main_window, state, open_copy_in_new_editor);
    // After the copies: one restored here is unsaved work, asked about first.
    open_named_files(state, start.files);
}

int run_forum_editor(HINSTANCE instance, int show_command)
{
    speak_interface_language(chosen_interface_language());
    if (!register_main_class(instance))
        return EXIT_STARTUP_FAILED;
    HWND main_window = create_main_window(instance, show_command);
    if (!main_window)
        return EXIT_STARTUP_FAILED;
    // Outside any window procedure, and as guarded: a copy that cannot be
    // taken must not end the editor before it has started.
    guarded(main_window, 0, 0, [main_window] {
        take_start_arguments(main_window, start_arguments());
        return 0;
    });

    // A missing table only means that no shortcut works.
    HACCEL accelerators = LoadAcceleratorsW(instance, SHORTCUTS_RESOURCE);
    return run_message_loop(main_window, accelerators);
}
