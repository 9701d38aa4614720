// What the benchmarks in the real control share: a clock, long posts and
// the Main window to time them in.
#pragma once

#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "app/startup.h"
#include "win/precise_clock.h"

// The paragraph again and again, cut to the length.
inline std::string repeated_to_length(const std::string& paragraph, std::size_t length)
{
    std::string text;
    while (text.size() < length)
        text += paragraph;
    text.resize(length);
    return text;
}

// A long post as people write them: lines of prose in paragraphs, with an
// address now and then.
inline std::string plain_post(std::size_t length)
{
    return repeated_to_length("Forum posts mix words, numbers like 1234 and now and then an address\r\n"
                              "such as https://forum.example.org/read.php?23,1676166,1676237#REPLY that\r\n"
                              "someone wants to quote; most lines stay well under eighty characters.\r\n\r\n",
                              length);
}

// The program's Main window, shown; nullptr when it could not be made. A
// benchmark may open several.
inline HWND open_main_window()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_class(instance) != 0;
    if (!registered)
        return nullptr;
    return create_main_window(instance, SW_SHOWNORMAL);
}

// The Main window's Editor control as it is now: undoing or redoing a step
// of a thousand paragraphs or more puts a fresh control in the old one's place.
inline HWND editor_of(HWND main_window)
{
    return main_window_state(main_window)->parts.editor;
}

// The reference the editor is measured against in the same run: a bare
// top-level window of the Main window's size with nothing in it but a
// RICHEDIT control in the editor's font, no subclass, no history.
inline constexpr char BARE_WINDOW_CLASS[] = "FORUM BENCH BARE RICHEDIT";

inline LRESULT CALLBACK bare_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_SIZE) {
        if (HWND editor = GetWindow(window, GW_CHILD))
            MoveWindow(editor, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

// What the Main window's frame carries that the bare window may carry too:
// a menu bar, and the class's icon (the first bare window's names the class's).
struct BareFrame {
    HMENU menu = nullptr;
    HICON icon = nullptr;
};

// The bare window, shown; its RICHEDIT control is its only child.
inline HWND open_bare_window(const BareFrame& frame = {})
{
    static const bool registered = [&frame] {
        LoadLibraryA("RICHED32.DLL");
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = bare_window_proc;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.hIcon = frame.icon;
        window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        window_class.lpszClassName = BARE_WINDOW_CLASS;
        return RegisterClassA(&window_class) != 0;
    }();
    if (!registered)
        return nullptr;
    HWND window = CreateWindowExA(0, BARE_WINDOW_CLASS, "bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, frame.menu, GetModuleHandleA(nullptr),
                                  nullptr);
    if (!window)
        return nullptr;
    HWND editor = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "",
                                  WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                      ES_AUTOVSCROLL | ES_NOHIDESEL,
                                  0, 0, 0, 0, window, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(editor, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    CHARFORMAT2A font{};
    font.cbSize = sizeof font;
    font.dwMask = CFM_FACE | CFM_CHARSET;
    font.bCharSet = EASTEUROPE_CHARSET;
    lstrcpynA(font.szFaceName, "Courier New", LF_FACESIZE);
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&font));
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

inline double median_of(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

// The steps of one key typed into a control as the keyboard sends them, and
// the paint that shows it, in ms.
struct KeySteps {
    double down = 0, character = 0, up = 0, paint = 0;
    double whole() const { return down + character + up + paint; }
};

// One key typed into the control as the keyboard sends it (down, character,
// up) and painted. The messages go as the window takes them, ANSI or
// Unicode, so that no conversion of the system's own is timed with them.
inline KeySteps time_typed_key_steps(HWND editor, char key)
{
    const bool unicode = IsWindowUnicode(editor) != FALSE;
    const auto send = [&](UINT message, WPARAM wparam, LPARAM lparam) {
        unicode ? SendMessageW(editor, message, wparam, lparam) : SendMessageA(editor, message, wparam, lparam);
    };
    const auto virtual_key = static_cast<WPARAM>(VkKeyScanA(key) & 0xFF);
    KeySteps steps;
    double start = now_ms();
    const auto step = [&](double& took) {
        const double end = now_ms();
        took = end - start;
        start = end;
    };
    send(WM_KEYDOWN, virtual_key, 1);
    step(steps.down);
    send(WM_CHAR, static_cast<WPARAM>(key), 1);
    step(steps.character);
    send(WM_KEYUP, virtual_key, 0xC0000001);
    step(steps.up);
    UpdateWindow(editor);
    step(steps.paint);
    return steps;
}

// One key typed and painted: how long it took, in ms.
inline double time_typed_key(HWND editor, char key)
{
    return time_typed_key_steps(editor, key).whole();
}
