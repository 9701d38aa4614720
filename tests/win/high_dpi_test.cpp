// The window at a higher DPI: at 144 DPI (a Wine prefix of its own set to
// it, FORUM_EXPECT_DPI=144) its default size, toolbar, status bar,
// splitter and preview scale; at any DPI a change of DPI is followed.
#include "editor_fixture.h"
#include "wine_host.h"

#include <commctrl.h>

#include "app/post_review.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"
#include "win/dpi.h"

namespace {

SIZE toolbar_image_size(HWND toolbar)
{
    SIZE size{};
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    int width = 0, height = 0;
    if (images && ImageList_GetIconSize(images, &width, &height))
        size = {width, height};
    return size;
}

int text_width(HWND window, const wchar_t* text)
{
    HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

LONG y_of(HWND control, LONG position)
{
    POINTL point{};
    SendMessageW(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
    return point.y;
}

class DpiChangeTest : public EditorTest {};

class HighDpiTest : public EditorTest {
protected:
    void SetUp() override
    {
        if (environment_variable("FORUM_EXPECT_DPI") != "144")
            GTEST_SKIP() << "needs 144 DPI; runs in its own ctest entry, in a prefix set to it";
        EditorTest::SetUp();
    }
};

} // namespace

TEST_F(HighDpiTest, TheWindowItsToolbarStatusBarSplitterAndPreviewScale)
{
    ASSERT_EQ(window_dpi(main_window), 144u);
    RECT window{};
    GetWindowRect(main_window, &window);
    EXPECT_EQ(window.right - window.left, 975);
    EXPECT_EQ(window.bottom - window.top, 975);
    EXPECT_EQ(toolbar_image_size(state().parts.toolbar.window).cx, 24);

    HWND status_bar = state().parts.status_bar.window;
    int edges[5]{};
    SendMessageW(status_bar, SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges));
    EXPECT_GE(edges[0] - text_width(status_bar, L"Znaky: 000 000 / 000 000"), 24);

    // A smiley of 49 pixels at 96 DPI, shown in the preview.
    SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
    EXPECT_EQ(state().review.splitter.right - state().review.splitter.left, 9);
    set_text("[img]" + smiley_address(0) + "[/img]\r\nx");
    review_post_now(state());
    pump_messages();
    HWND preview = state().parts.preview.window;
    // The end of the text, on the line after the picture's, lies at least
    // 1.5 times the picture's height lower.
    EXPECT_GE(y_of(preview, GetWindowTextLengthW(preview)) - y_of(preview, 0), 73);
    SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
}

// Moved to a monitor of 144 DPI, whatever DPI the run has.
TEST_F(DpiChangeTest, TheWindowTakesTheSuggestedRectangleAndItsPartsTheNewDpi)
{
    const RECT suggested{30, 40, 30 + 975, 40 + 975};
    SendMessageW(main_window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT window{};
    GetWindowRect(main_window, &window);
    EXPECT_TRUE(EqualRect(&window, &suggested));
    HWND toolbar = state().parts.toolbar.window;
    EXPECT_EQ(toolbar_image_size(toolbar).cx, 24);
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 32);
    // The Editor control sits right below the taller toolbar.
    RECT bar{}, edit{};
    GetWindowRect(toolbar, &bar);
    GetWindowRect(editor, &edit);
    MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_GE(bar.bottom - bar.top, 30);
    EXPECT_EQ(edit.top, bar.bottom - bar.top);
}
