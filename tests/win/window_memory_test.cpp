// The Main window opens as it was closed: its place, its size, maximized,
// and the preview's share; a place on no monitor falls back to the default.
#include "editor_fixture.h"

#include "app/post_review.h"
#include "app/settings.h"

namespace {

class WindowMemoryTest : public EditorTest {
protected:
    // Closed as the user closes it, then started again.
    void close_and_start_again()
    {
        SendMessageW(main_window, WM_CLOSE, 0, 0);
        ASSERT_FALSE(IsWindow(main_window));
        recreate_main_window(SW_SHOWNORMAL);
    }

    RECT window_rect() const
    {
        RECT rect{};
        GetWindowRect(main_window, &rect);
        return rect;
    }
};

} // namespace

TEST_F(WindowMemoryTest, PlaceSizeAndPreviewShareComeBackAfterARestart)
{
    MoveWindow(main_window, 120, 90, 700, 520, TRUE);
    set_preview_share(state(), 300);
    close_and_start_again();
    const RECT rect = window_rect();
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.top, 90);
    EXPECT_EQ(rect.right - rect.left, 700);
    EXPECT_EQ(rect.bottom - rect.top, 520);
    EXPECT_EQ(state().review.preview_per_mille, 300);
    EXPECT_FALSE(IsZoomed(main_window));
}

TEST_F(WindowMemoryTest, AMaximizedWindowOpensMaximized)
{
    ShowWindow(main_window, SW_MAXIMIZE);
    close_and_start_again();
    EXPECT_TRUE(IsZoomed(main_window));
}

// As found, a place that overlapped the screen by a corner or by one pixel
// counted as on it, and the window opened where it could not be reached.
TEST_F(WindowMemoryTest, APlaceWhoseTitleBarCannotBeReachedFallsBackToTheDefault)
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT places[] = {
        {-30000, -30000, -29000, -29500},                  // on no monitor
        {-2000, -2000, 20, 20},                            // a corner on screen
        {screen.right - 1, 100, screen.right + 699, 600}, // one pixel on screen
    };
    for (const RECT& place : places) {
        SCOPED_TRACE(place.left);
        ASSERT_TRUE(save_window_memory({place, false, 500}));
        recreate_main_window(SW_SHOWNORMAL);
        const RECT rect = window_rect();
        EXPECT_GE(rect.left, 0);
        EXPECT_GE(rect.top, 0);
        EXPECT_EQ(rect.right - rect.left, 650);
        EXPECT_EQ(rect.bottom - rect.top, 650);
    }
}
