// The editor's process-wide state. There is one Main window and one Editor
// control per process, and everything runs on the window thread, so a single
// plain instance is all the program needs.
#pragma once

#include <windows.h>

#include <array>
#include <string>

enum FileKind : int { FILE_KIND_RTF = 1, FILE_KIND_TEXT = 2 };

struct DocumentState {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;

    HWND toolbar = nullptr;
    HMODULE richedit_library = nullptr;
    HWND editor = nullptr;
    WNDPROC editor_previous_proc = nullptr;

    // Markup insertion: leave each insertion selected, and remember that the
    // typing format still has to go back to plain once the user moves on.
    bool select_after_wrap = true;
    bool format_reset_pending = false;

    DWORD char_format_mask = 0;

    COLORREF tag_color = 0;
    std::array<COLORREF, 16> tag_custom_colors{};
    COLORREF background_color = 0xFFFFFF;
    std::array<COLORREF, 16> background_custom_colors{};

    std::string file_name;
    int file_kind = FILE_KIND_RTF;

    // The printer DC that the Editor control lays its lines out for; released
    // when a newer one replaces it.
    HDC print_target_dc = nullptr;
};

extern DocumentState g_doc;
