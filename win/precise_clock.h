#pragma once

#include <windows.h>

// Milliseconds from the performance counter: fine enough to cut work into
// slices of a few milliseconds, and to time them.
inline double now_ms()
{
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
