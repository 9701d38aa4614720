#include "editor_fixture.h"

#include "app/command_dispatch.h"
#include "app/document_state.h"
#include "res/resource_ids.h"

#include <algorithm>

namespace {

// What each markup command writes and how it shows it, written out here
// independently of the program's own table so that a typo in either shows.
struct MarkupExpectation {
    WORD id;
    std::string open;
    std::string close;
    COLORREF color;
    bool bold, italic, underline;
};

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF GREY = RGB(128, 128, 128);

const std::string FORUM = "https://forum.example.org";

std::string forum_smiley(const char* file, const char* tail = " ")
{
    return "[img]" + FORUM + "/file.php?108,file=" + file + "[/img]" + tail;
}

std::vector<MarkupExpectation> markup_expectations()
{
    std::vector<MarkupExpectation> all = {
        {IDM_TAG_CODE, "[code]\n", "\n[/code]", BLACK, false, false, false},
        {IDM_TAG_ITALIC, "[i] ", "[/i]", BLACK, false, true, false},
        {IDM_TAG_QUOTE, "[quote][color=#808040]", "[/color][/quote]", GREY, false, false, false},
        {IDM_TAG_URL, "[url]", "[/url]", BLUE, false, false, false},
        {IDM_TAG_BOLD, "[b]", "[/b]", BLACK, true, false, false},
        {IDM_TAG_EMAIL, "[email]", "[/email]", BLUE, false, false, false},
        {IDM_TAG_SIZE14, "[size=14px] ", "[/size]", BLACK, false, false, false},
        {IDM_TAG_SIZE22, "[size=22px] ", "[/size]", BLACK, false, false, false},
        {IDM_TAG_SIZE30, "[size=30px] ", "[/size]", BLACK, false, false, false},
        {IDM_TAG_QUESTION, "[hr]\n[size=14px][b]Dotaz:", "[/b][/size]", BLACK, true, false, false},
        {IDM_TAG_WROTE,
         "[size=8px]Text highlighting by https://forum-editor.example.org [/size]\n[color=#808040]\n",
         "\n[/color]", GREY, false, false, false},
        {IDM_TAG_CENTER, "[center]", "[/center]", BLACK, false, false, false},
        {IDM_TAG_UNDERLINE, "[u]", "[/u]", BLACK, false, false, true},
        {IDM_TAG_POINTS,
         "[b]1)  [/b]\n[b]2)  [/b]\n[b]3)  [/b]\n[b]4)  [/b]\n[b]5)  [/b]\n"
         "[b]6)  [/b]\n[b]7)  [/b]\n[b]8)  [/b]\n[b]9)  [/b]\n[b]10)  [/b]",
         "", BLACK, false, false, false},
        {IDM_TAG_IMAGE, "[img]", "[/img]", BLUE, false, false, false},
        {4000, "[color=#FF0000]", "[/color]", RGB(255, 0, 0), false, false, false},
        {4001, "[b][color=#FF0000]", "[/color][/b]", RGB(255, 0, 0), true, false, false},
        {4002, "[i][color=#FF0000]", "[/color][/i]", RGB(255, 0, 0), false, true, false},
        {4003, "[color=#008080]", "[/color]", RGB(0, 128, 128), false, false, false},
        {4004, "[b][color=#008080]", "[/color][/b]", RGB(0, 128, 128), true, false, false},
        {4005, "[i][color=#008080]", "[/color][/i]", RGB(0, 128, 128), false, true, false},
        {4006, "[color=#0000FF]", "[/color]", BLUE, false, false, false},
        {4007, "[b][color=#0000FF]", "[/color][/b]", BLUE, true, false, false},
        {4008, "[i][color=#0000FF]", "[/color][/i]", BLUE, false, true, false},
    };
    const char* forum_files[] = {"399175", "399176", "399178", "399179", "399180", "399181",
                                 "399182", "399183", "399184", "399185", "399186", "399187",
                                 "399188", "399189", "399191", "399192"};
    for (WORD i = 0; i < 16; ++i)
        all.push_back({static_cast<WORD>(8500 + i), forum_smiley(forum_files[i], i == 7 ? "" : " "), "", BLUE,
                       false, false, false});
    all.push_back({8516, "[img]https://smileys.example.net/wave.png[/img] ", "", BLUE, false, false, false});
    return all;
}

std::string without_carriage_returns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

class CommandsTest : public EditorTest {
protected:
    void run(WORD id) { SendMessageA(main_window, WM_COMMAND, id, 0); }

};

} // namespace

TEST_F(CommandsTest, EveryMarkupCommandWrapsTheSelectionAndShowsItInItsFormat)
{
    for (const MarkupExpectation& expected : markup_expectations()) {
        SCOPED_TRACE("command " + std::to_string(expected.id));
        set_text("xx abc yy");
        select(3, 6);
        g_doc.format_reset_pending = false;

        run(expected.id);

        EXPECT_EQ(without_carriage_returns(text()), "xx " + expected.open + "abc" + expected.close + " yy");
        const CHARRANGE after = selection();
        EXPECT_EQ(after.cpMin, 3);
        EXPECT_EQ(text_range(after.cpMax, text_length()), " yy");
        EXPECT_TRUE(g_doc.format_reset_pending);

        const CHARFORMAT2A format = selection_format();
        EXPECT_EQ(format.crTextColor, expected.color);
        EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, expected.bold);
        EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, expected.italic);
        EXPECT_EQ((format.dwEffects & CFE_UNDERLINE) != 0, expected.underline);
    }
}

TEST_F(CommandsTest, HorizontalRuleLeavesCaretAfterItsLineFeedAndNextCommandSelectsAgain)
{
    set_text("xx abc yy");
    select(3, 6);
    g_doc.format_reset_pending = true;

    run(IDM_TAG_HR);

    EXPECT_EQ(without_carriage_returns(text()), "xx [hr]abc\n yy");
    const CHARRANGE after = selection();
    EXPECT_EQ(after.cpMin, after.cpMax);
    EXPECT_EQ(text_range(after.cpMax, text_length()), " yy");
    EXPECT_FALSE(g_doc.format_reset_pending);
    EXPECT_TRUE(g_doc.select_after_wrap);
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
    EXPECT_FALSE(g_doc.format_reset_pending);
    EXPECT_TRUE(g_doc.select_after_wrap);
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

TEST_F(CommandsTest, UndoTakesBackTypingButKeepsTheDocumentModified)
{
    SendMessageA(editor, WM_CHAR, 'x', 0);
    ASSERT_TRUE(SendMessageA(editor, EM_GETMODIFY, 0, 0));

    run(IDM_EDIT_UNDO);

    EXPECT_EQ(text(), "");
    EXPECT_TRUE(SendMessageA(editor, EM_GETMODIFY, 0, 0));
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
