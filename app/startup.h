// Process start: the window class, the Main window and the message loop.
#pragma once

#include <windows.h>

#include <string>

// Class name and the Main window's first title (two blanks before "by").
inline constexpr char FORUM_EDITOR_CLASS[] = "KLESTOR FORUM EDITOR  by vorlen :)";

// At 96 DPI; the first start scales it to the user's DPI.
inline constexpr int MAIN_WINDOW_WIDTH = 650;
inline constexpr int MAIN_WINDOW_HEIGHT = 650;

// Exit code when the program cannot open its window at all.
inline constexpr int EXIT_STARTUP_FAILED = 1;

ATOM register_main_class(HINSTANCE instance);

// Creates, shows and paints the Main window.
// Returns null when the window could not be created.
HWND create_main_window(HINSTANCE instance, int show_command);

// Runs the message loop until WM_QUIT and returns its exit code.
int run_message_loop(HWND main_window, HACCEL accelerators);

// "forum-editor.exe /recover PATH" restores the recovery copy at PATH at
// start instead of offering the copies: an editor that restored one post
// opens the next one in a window of its own so.
inline constexpr wchar_t RECOVER_SWITCH[] = L"/recover";

// Starts another editor for the copy; false (with the system's error) when
// it cannot be started.
bool open_copy_in_new_editor(const std::wstring& path);

// The whole entry procedure; returns the process exit code.
int run_forum_editor(HINSTANCE instance, int show_command);
