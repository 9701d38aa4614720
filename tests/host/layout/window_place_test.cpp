#include "text/layout/window_place.h"

#include <gtest/gtest.h>

namespace {

struct PlaceCase {
    const char* name;
    ScreenArea window;
    bool reachable;
};

// A 1920 x 1080 monitor with a 40-pixel taskbar at the bottom, and a
// second one of 1280 x 1024 to its right.
const std::vector<ScreenArea> TWO_MONITORS{{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
const std::vector<ScreenArea> FIRST_ONLY{TWO_MONITORS.front()};

TEST(WindowPlace, TheTitleBarMustBeReachableOnOneMonitor)
{
    const PlaceCase cases[] = {
        {"wholly on the first", {100, 100, 800, 600}, true},
        {"on the second", {2000, 50, 2600, 700}, true},
        {"as found: mostly left of and above every screen", {-2000, -2000, 20, 20}, false},
        {"the top rows above the work area", {100, -10, 800, 600}, false},
        {"the title bar under the taskbar", {100, 1020, 800, 1500}, false},
        {"a third of the width on screen", {-400, 100, 200, 600}, true},
        {"less than a third on screen", {-401, 100, 200, 600}, false},
        {"a third across the right edge", {1520, 0, 2720, 500}, true},
        {"no size at all", {100, 100, 100, 100}, false},
        {"lower than the title rows, wholly on screen", {10, 10, 400, 30}, true},
        {"far beyond any number a screen has", {-2147483647, 0, 2147483647, 40}, false},
    };
    for (const PlaceCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(title_bar_reachable(test.window, TWO_MONITORS), test.reachable);
    }
}

// As found: a second monitor unplugged while the window overlapped the
// first by one pixel; the window opened there at every start.
TEST(WindowPlace, AnUnpluggedMonitorTakesItsPlacesWithIt)
{
    EXPECT_TRUE(title_bar_reachable({1919, 100, 2600, 700}, TWO_MONITORS));
    EXPECT_FALSE(title_bar_reachable({1919, 100, 2600, 700}, FIRST_ONLY));
    EXPECT_FALSE(title_bar_reachable({100, 100, 800, 600}, {}));
}

} // namespace
