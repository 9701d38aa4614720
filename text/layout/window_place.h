// Whether a window's remembered place can be reached on the monitors there
// are now. Pure logic, in screen pixels, with no Windows headers.
#pragma once

#include <vector>

struct ScreenArea {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

// What of a window's title bar must lie in a monitor's work area for the
// user to reach it, as Windows' own programs ask: its top rows, and a
// third of its width.
inline constexpr long REACHABLE_TITLE_ROWS = 32;
inline constexpr long REACHABLE_WIDTH_PARTS = 3;

// Whether the window's title bar can be reached in one of the work areas
// (a window less tall than REACHABLE_TITLE_ROWS wholly in height).
bool title_bar_reachable(const ScreenArea& window, const std::vector<ScreenArea>& work_areas);
