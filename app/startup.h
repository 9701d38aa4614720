// Process start: the window class, the Main window and the message loop.
#pragma once

#include <windows.h>

#include <string>

#include "text/files/start_arguments.h"

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

// Starts another editor for the copy ("/recover PATH"); false (with the
// system's error) when it cannot be started.
bool open_copy_in_new_editor(const std::wstring& path);

// Once the Main window stands painted: restores the copy "/recover PATH"
// names, or offers the copies left behind, then opens the files named.
void take_start_arguments(HWND main_window, const StartArguments& start);

// The whole entry procedure; returns the process exit code.
int run_forum_editor(HINSTANCE instance, int show_command);
