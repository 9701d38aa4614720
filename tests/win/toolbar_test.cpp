#include "editor_fixture.h"

#include <commctrl.h>

#include "app/main_window_state.h"
#include "dialog_automation.h"
#include "res/resource_ids.h"
#include "ui/toolbar.h"
#include "win/dpi.h"

namespace {

std::vector<TBBUTTON> buttons_of(HWND toolbar)
{
    const auto count = SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0);
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    for (LRESULT i = 0; i < count; ++i)
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&buttons[static_cast<size_t>(i)]));
    return buttons;
}

class ToolbarTest : public EditorTest {};

} // namespace

TEST_F(ToolbarTest, IsAChildOfTheMainWindowWithButtonsInSeparatedGroupsAllEnabledButUndo)
{
    HWND toolbar = state().parts.toolbar.window;
    ASSERT_TRUE(IsWindow(toolbar));
    EXPECT_EQ(GetParent(toolbar), main_window);
    EXPECT_EQ(GetDlgCtrlID(toolbar), IDC_TOOLBAR);

    const auto buttons = buttons_of(toolbar);
    ASSERT_FALSE(buttons.empty());
    bool previous_was_separator = false;
    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(i);
        const bool separator = (buttons[i].fsStyle & TBSTYLE_SEP) != 0;
        EXPECT_FALSE(separator && previous_was_separator);
        // Undo waits for something to undo.
        EXPECT_EQ((buttons[i].fsState & TBSTATE_ENABLED) != 0, buttons[i].idCommand != IDM_EDIT_UNDO || separator);
        previous_was_separator = separator;
    }
}

TEST_F(ToolbarTest, ButtonsShowStandardImagesThenTheStripInOrder)
{
    const int standard_images[] = {STD_FILENEW, STD_FILEOPEN, STD_FILESAVE, STD_PRINT,
                                   STD_COPY,    STD_CUT,      STD_PASTE,    STD_UNDO};
    std::vector<int> images;
    for (const TBBUTTON& b : buttons_of(state().parts.toolbar.window))
        if (!(b.fsStyle & TBSTYLE_SEP))
            images.push_back(b.iBitmap);
    ASSERT_EQ(images.size(), 23u);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(images[i], standard_images[i]);
    // The strip follows whatever the standard set took (8 images on
    // Windows, its full 15 under Wine), in strip order.
    EXPECT_GE(images[8], 8);
    for (size_t i = 8; i < 23; ++i)
        EXPECT_EQ(images[i], images[8] + static_cast<int>(i - 8));
}

TEST_F(ToolbarTest, ClickingBoldDoesWhatCtrlBDoes)
{
    set_text("abc");
    select(0, 3);
    SendMessageA(state().parts.toolbar.window, TB_PRESSBUTTON, IDM_TAG_BOLD, TRUE);
    SendMessageA(main_window, WM_COMMAND, MAKEWPARAM(IDM_TAG_BOLD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(state().parts.toolbar.window));
    EXPECT_EQ(text(), "[b]abc[/b]");
}

TEST_F(ToolbarTest, MissingStripIsReportedAndTheToolbarStillComes)
{
    // A parent whose module holds no toolbar strip.
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA("kernel32.dll"), nullptr);
    ASSERT_NE(parent, nullptr);
    MessageBoxSeen seen;
    Toolbar toolbar;

    with_dialogs([&] { seen = answer_message_box("Chyba", IDOK); }, [&] { toolbar = create_toolbar(parent, DEFAULT_DPI); });

    EXPECT_EQ(seen.text, "Nepodarilo se nacist bitmapu check");
    EXPECT_EQ(SendMessageA(toolbar.window, TB_BUTTONCOUNT, 0, 0),
              SendMessageA(state().parts.toolbar.window, TB_BUTTONCOUNT, 0, 0));
    DestroyWindow(parent);
}
