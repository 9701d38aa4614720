#include "editor_fixture.h"

#include "app/command_dispatch.h"
#include "app/main_window_state.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"

#include <commctrl.h>

#include <algorithm>

namespace {

const std::string FORUM = "https://forum.example.org";

std::string forum_smiley(const char* file, const char* tail = " ")
{
    return "[img]" + FORUM + "/file.php?108,file=" + file + "[/img]" + tail;
}

std::string without_carriage_returns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The cursor shown while the control formatted a selection.
HCURSOR g_cursor_while_formatting = nullptr;

LRESULT CALLBACK note_cursor_while_formatting(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                              DWORD_PTR)
{
    if (message == EM_SETCHARFORMAT && wparam == SCF_SELECTION)
        g_cursor_while_formatting = GetCursor();
    return DefSubclassProc(window, message, wparam, lparam);
}

class CommandsTest : public EditorTest {
protected:
    void run(WORD id) { SendMessageA(main_window, WM_COMMAND, id, 0); }

};

} // namespace

TEST_F(CommandsTest, EveryMarkupCommandWrapsTheSelectionAndShowsItInItsFormat)
{
    for (const Markup& expected : markup_commands()) {
        if (expected.order == MarkupOrder::Rule)
            continue;
        SCOPED_TRACE("command " + std::to_string(expected.id));
        set_text("xx abc yy");
        select(3, 6);
        state().parts.editor_subclass.format_reset_pending = false;

        run(expected.id);

        EXPECT_EQ(without_carriage_returns(text()),
                  "xx " + std::string(expected.open) + "abc" + std::string(expected.close) + " yy");
        const CHARRANGE after = selection();
        EXPECT_EQ(after.cpMin, 3);
        EXPECT_EQ(text_range(after.cpMax, text_length()), " yy");
        EXPECT_TRUE(state().parts.editor_subclass.format_reset_pending);

        const CHARFORMAT2A format = selection_format();
        const InsertFormat& shown = expected.format;
        EXPECT_EQ(format.crTextColor, shown.color);
        EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, shown.bold);
        EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, shown.italic);
        EXPECT_EQ((format.dwEffects & CFE_UNDERLINE) != 0, shown.underline);
    }
}

TEST_F(CommandsTest, ACommandOnALongPostShowsTheWaitCursorWhileItRuns)
{
    const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    set_text(long_post(30000));
    select(0, text_length());
    SetCursor(arrow);
    g_cursor_while_formatting = nullptr;
    SetWindowSubclass(editor, note_cursor_while_formatting, 1, 0);
    run(IDM_TAG_BOLD);
    RemoveWindowSubclass(editor, note_cursor_while_formatting, 1);
    EXPECT_EQ(g_cursor_while_formatting, LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(CommandsTest, HorizontalRuleLeavesCaretAfterItsLineFeedAndNextCommandSelectsAgain)
{
    set_text("xx abc yy");
    select(3, 6);
    state().parts.editor_subclass.format_reset_pending = true;

    run(IDM_TAG_HR);

    EXPECT_EQ(without_carriage_returns(text()), "xx [hr]abc\n yy");
    const CHARRANGE after = selection();
    EXPECT_EQ(after.cpMin, after.cpMax);
    EXPECT_EQ(text_range(after.cpMax, text_length()), " yy");
    EXPECT_FALSE(state().parts.editor_subclass.format_reset_pending);
    EXPECT_EQ(GetFocus(), editor);

    run(IDM_TAG_BOLD);
    EXPECT_EQ(selected_text(), "[b][/b]");
}

TEST_F(CommandsTest, SmileyWithNothingSelectedInsertsItsTagAtTheCaret)
{
    set_text("ab");
    select(1, 1);
    run(8507);
    EXPECT_EQ(text(), "a" + forum_smiley("399183", "") + "b");
    EXPECT_EQ(selected_text(), forum_smiley("399183", ""));
}

TEST_F(CommandsTest, UnassignedNumbersAndLayoutItemsChangeNothing)
{
    set_text("abc");
    select(1, 2);
    SetFocus(nullptr);
    std::vector<WORD> inert = {1, IDM_EDIT_HORIZONTAL, IDM_EDIT_VERTICAL, IDM_ALIGN_CENTER, IDM_ALIGN_LEFT,
                               IDM_ALIGN_RIGHT};
    for (WORD id = 3239; id <= 3254; ++id)
        inert.push_back(id);

    for (WORD id : inert)
        run(id);

    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(selection().cpMin, 1);
    EXPECT_EQ(selection().cpMax, 2);
    EXPECT_FALSE(state().parts.editor_subclass.format_reset_pending);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(CommandsTest, ClipboardCommandsGoToTheEditor)
{
    set_text("copy me");
    select(0, 4);
    run(IDM_EDIT_COPY);
    select(7, 7);
    run(IDM_EDIT_PASTE);
    EXPECT_EQ(text(), "copy mecopy");

    select(0, 5);
    run(IDM_EDIT_CUT);
    EXPECT_EQ(text(), "mecopy");
}

TEST_F(CommandsTest, UndoTakesBackTypingAndTheUntouchedDocumentIsUnmodifiedAgain)
{
    SendMessageA(editor, WM_CHAR, 'x', 0);
    ASSERT_TRUE(SendMessageA(editor, EM_GETMODIFY, 0, 0));

    run(IDM_EDIT_UNDO);

    EXPECT_EQ(text(), "");
    EXPECT_FALSE(SendMessageA(editor, EM_GETMODIFY, 0, 0));
}

TEST_F(CommandsTest, SelectAllSelectsEverythingWithoutMovingTheFocus)
{
    set_text("one\r\ntwo");
    select(0, 0);
    SetFocus(nullptr);
    run(IDM_EDIT_SELECTALL);
    EXPECT_EQ(selected_text(), "one\r\ntwo");
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(CommandsTest, ExitClosesTheProgram)
{
    run(IDM_FILE_EXIT);
    EXPECT_FALSE(IsWindow(main_window));
}
