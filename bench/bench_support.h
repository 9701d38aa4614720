// What the benchmarks in the real control share: a clock, long posts and
// the Main window to time them in.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "app/startup.h"

inline double now_ms()
{
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

// The program's Main window, shown; nullptr when it could not be made.
inline HWND open_main_window()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!register_main_class(instance))
        return nullptr;
    return create_main_window(instance, SW_SHOWNORMAL);
}

// One key typed into the control as the keyboard sends it (down, character,
// up) and painted: how long it took, in ms.
inline double time_typed_key(HWND editor, char key)
{
    const auto virtual_key = static_cast<WPARAM>(VkKeyScanA(key) & 0xFF);
    const double start = now_ms();
    SendMessageW(editor, WM_KEYDOWN, virtual_key, 1);
    SendMessageW(editor, WM_CHAR, static_cast<WPARAM>(key), 1);
    SendMessageW(editor, WM_KEYUP, virtual_key, 0xC0000001);
    UpdateWindow(editor);
    return now_ms() - start;
}
