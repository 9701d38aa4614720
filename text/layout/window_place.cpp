#include "text/layout/window_place.h"

#include <algorithm>

bool title_bar_reachable(const ScreenArea& window, const std::vector<ScreenArea>& work_areas)
{
    // In 64-bit arithmetic: a stored place may hold any number.
    using Wide = long long;
    const Wide width = Wide{window.right} - window.left;
    const Wide rows = std::min(Wide{window.bottom} - window.top, Wide{REACHABLE_TITLE_ROWS});
    if (width <= 0 || rows <= 0)
        return false;
    const Wide wanted_width = (width + REACHABLE_WIDTH_PARTS - 1) / REACHABLE_WIDTH_PARTS;
    return std::any_of(work_areas.begin(), work_areas.end(), [&](const ScreenArea& area) {
        const bool rows_inside = window.top >= area.top && window.top + rows <= area.bottom;
        const Wide shared = Wide{std::min(window.right, area.right)} - std::max(window.left, area.left);
        return rows_inside && shared >= wanted_width;
    });
}
