// What the benchmarks in the real control share: a clock and long posts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

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
