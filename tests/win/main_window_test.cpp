#include "dialog_automation.h"
#include "editor_fixture.h"

#include "app/editor_control.h"
#include "app/main_window.h"
#include "app/main_window_state.h"
#include "app/startup.h"
#include "res/resource_ids.h"

namespace {

class MainWindowTest : public EditorTest {
protected:
    RECT editor_rect_in_client() const
    {
        RECT rect;
        GetWindowRect(editor, &rect);
        MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    int toolbar_height() const
    {
        RECT rect{};
        if (state().parts.toolbar.window)
            GetWindowRect(state().parts.toolbar.window, &rect);
        return rect.bottom - rect.top;
    }

    int status_bar_top() const
    {
        RECT rect;
        GetWindowRect(state().parts.status_bar.window, &rect);
        MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&rect), 2);
        return rect.top;
    }

    // With the preview hidden, as it is unless the user showed it.
    void expect_editor_fills_client_area_between_toolbar_and_status_bar() const
    {
        RECT client;
        GetClientRect(main_window, &client);
        const RECT rect = editor_rect_in_client();
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, toolbar_height());
        EXPECT_EQ(rect.right, client.right);
        EXPECT_EQ(rect.bottom, status_bar_top());
        EXPECT_LT(status_bar_top(), client.bottom);
    }
};

// Enough lines that emptying them the control's way would be slow: New
// puts a fresh control in place of the one that holds them.
std::string lines_enough_for_a_fresh_control()
{
    std::string lines;
    for (int i = 0; i < 1200; ++i)
        lines += "line\r\n";
    return lines;
}

} // namespace

TEST_F(MainWindowTest, ClassCarriesProcedureMenuCursorAndWhiteBackground)
{
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    const std::string name = FORUM_EDITOR_CLASS;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleA(nullptr), std::wstring(name.begin(), name.end()).c_str(), &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.lpfnWndProc, main_window_proc);
    EXPECT_EQ(info.hbrBackground, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_STREQ(info.lpszMenuName, L"MYMENU");
    // Unicode windows, so that typed characters reach the editor whole.
    EXPECT_TRUE(IsWindowUnicode(main_window));
    EXPECT_TRUE(IsWindowUnicode(editor));
}

TEST_F(MainWindowTest, OpensWithClassNameAsTitleAt650By650)
{
    char title[128]{};
    GetWindowTextA(main_window, title, sizeof title);
    EXPECT_STREQ(title, "KLESTOR FORUM EDITOR  by vorlen :)");

    RECT rect;
    GetWindowRect(main_window, &rect);
    EXPECT_EQ(rect.right - rect.left, 650);
    EXPECT_EQ(rect.bottom - rect.top, 650);
    EXPECT_TRUE(IsWindowVisible(main_window));
    EXPECT_EQ(GetWindowLongA(main_window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(main_window, main_window);
}

TEST_F(MainWindowTest, HonoursMinimisedAndMaximisedShowCommands)
{
    recreate_main_window(SW_SHOWMINIMIZED);
    EXPECT_TRUE(IsIconic(main_window));
    recreate_main_window(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(main_window));
}

TEST_F(MainWindowTest, EditorIsRichEditChildOneWithMouseEventsAndNoHiddenSelection)
{
    EXPECT_EQ(GetParent(editor), main_window);
    EXPECT_EQ(GetDlgCtrlID(editor), IDC_EDITOR);
    EXPECT_EQ(GetDlgItem(main_window, IDC_EDITOR), editor);

    // The control manages its border and scroll-bar bits itself.
    const DWORD style = static_cast<DWORD>(GetWindowLongA(editor, GWL_STYLE));
    const DWORD expected = EDITOR_STYLE & ~(WS_BORDER | WS_HSCROLL | WS_VSCROLL);
    EXPECT_EQ(style & expected, expected);
    EXPECT_TRUE(GetWindowLongA(editor, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(SendMessageA(editor, EM_GETEVENTMASK, 0, 0) & ENM_MOUSEEVENTS);
    EXPECT_NE(GetModuleHandleA("RICHED32.DLL"), nullptr);
}

TEST_F(MainWindowTest, EditorTakesTextBeyondTheDefault64000Characters)
{
    // Wine re-wraps one unbroken run of this length in quadratic time; the
    // limit is what is tested here, so leave the lines unwrapped.
    SendMessageA(editor, EM_SETTARGETDEVICE, 0, 1);
    set_text(std::string(64000, 'x'));
    select(64000, 64000);
    SendMessageA(editor, WM_CHAR, 'y', 0);
    SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("tail"));

    EXPECT_EQ(text_length(), 64005);
    EXPECT_EQ(text_range(63999, 64005), "xytail");
}

// Left unwrapped, Wine's control scrolls sideways and repaints itself whole
// on every key typed past the window's edge. The control wraps at its own
// width from the start, before any printer layout (or with no printer), and
// so does the fresh control that takes a long document's place.
TEST_F(MainWindowTest, EditorWrapsAtItsWidthFromTheStartAndAfterASwap)
{
    KillTimer(main_window, PRINT_TARGET_TIMER);
    std::string paragraph;
    for (int i = 0; i < 100; ++i)
        paragraph += "word ";
    const auto expect_typing_stays_in_view = [&] {
        set_text(paragraph);
        EXPECT_GT(SendMessageA(editor, EM_GETLINECOUNT, 0, 0), 1);
        select(text_length(), text_length());
        for (char key : paragraph.substr(0, 60))
            SendMessageW(editor, WM_CHAR, static_cast<WPARAM>(key), 1);
        EXPECT_EQ(GetScrollPos(editor, SB_HORZ), 0);
    };
    expect_typing_stays_in_view();

    set_text(lines_enough_for_a_fresh_control());
    HWND old = editor;
    editor = replace_editor(state());
    ASSERT_NE(editor, old);
    expect_typing_stays_in_view();
}

// Under Wine each look at a window property asks the window server, and a
// subclass installed through the common controls looks at one for every
// message: the Editor control, which gets some ten messages a key, keeps none.
TEST_F(MainWindowTest, EditorKeepsNoWindowProperties)
{
    const auto count_properties = [](HWND window) {
        int count = 0;
        EnumPropsExW(
            window, [](HWND, LPWSTR, HANDLE, ULONG_PTR counted) { return ++*reinterpret_cast<int*>(counted), TRUE; },
            reinterpret_cast<LPARAM>(&count));
        return count;
    };
    EXPECT_EQ(count_properties(editor), 0);
    set_text(lines_enough_for_a_fresh_control());
    HWND old = editor;
    editor = replace_editor(state());
    ASSERT_NE(editor, old);
    EXPECT_EQ(count_properties(editor), 0);
}

TEST_F(MainWindowTest, EditorFillsClientAreaBetweenToolbarAndStatusBarAfterEveryResize)
{
    expect_editor_fills_client_area_between_toolbar_and_status_bar();

    SetWindowPos(main_window, nullptr, 0, 0, 800, 420, SWP_NOMOVE | SWP_NOZORDER);
    pump_messages();
    expect_editor_fills_client_area_between_toolbar_and_status_bar();
    EXPECT_EQ(GetFocus(), editor);

    SetFocus(nullptr);
    SetWindowPos(main_window, nullptr, 0, 0, 500, 700, SWP_NOMOVE | SWP_NOZORDER);
    pump_messages();
    expect_editor_fills_client_area_between_toolbar_and_status_bar();
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(MainWindowTest, FocusGivenToTheFrameMovesOnToTheEditor)
{
    SetFocus(main_window);
    pump_messages();
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(MainWindowTest, EditorSubclassIsInstalledAndWantsAllKeys)
{
    EXPECT_EQ(SendMessageA(editor, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST_F(MainWindowTest, CloseDestroysEditorThenWindowAndQuitsWithZero)
{
    set_text("unsaved words");
    with_dialogs([&] { answer_message_box("SAVE", IDNO); }, [&] { SendMessageA(main_window, WM_CLOSE, 0, 0); });

    EXPECT_FALSE(IsWindow(editor));
    EXPECT_FALSE(IsWindow(main_window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(MainWindowTest, UnknownCommandsChangeNothing)
{
    set_text("abc");
    select(1, 2);
    for (WORD command : {WORD{1}, WORD{3239}, WORD{3254}})
        SendMessageA(main_window, WM_COMMAND, command, 0);
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(selection().cpMin, 1);
    EXPECT_EQ(selection().cpMax, 2);
}
