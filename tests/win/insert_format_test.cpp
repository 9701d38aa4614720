#include "editor_fixture.h"

#include "app/main_window_state.h"
#include "editor/insert_format.h"

namespace {

class InsertFormatTest : public EditorTest {
protected:
    void set_format(LONG first, LONG last, DWORD mask, DWORD effects, const char* face, BYTE charset, LONG height)
    {
        select(first, last);
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        format.dwMask = mask;
        format.dwEffects = effects;
        format.bCharSet = charset;
        format.yHeight = height;
        lstrcpynA(format.szFaceName, face, LF_FACESIZE);
        SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
};

} // namespace

TEST_F(InsertFormatTest, AppliesColourAndEffectsOnWhiteAndKeepsFaceCharsetAndStrikeout)
{
    set_text("struck text");
    set_format(0, 6, CFM_STRIKEOUT | CFM_FACE | CFM_CHARSET | CFM_BOLD, CFE_STRIKEOUT | CFE_BOLD, "DejaVu Sans",
               RUSSIAN_CHARSET, 0);
    SetFocus(nullptr);
    select(0, 6);

    ASSERT_TRUE(apply_insert_format(editor, {.color = RGB(0, 0, 255), .italic = true, .underline = true}));

    const CHARFORMAT2A format = format_of(0, 6);
    EXPECT_EQ(format.crTextColor, RGB(0, 0, 255));
    EXPECT_EQ(format.crBackColor, RGB(255, 255, 255));
    EXPECT_FALSE(format.dwEffects & (CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR | CFE_BOLD));
    EXPECT_TRUE(format.dwEffects & CFE_ITALIC);
    EXPECT_TRUE(format.dwEffects & CFE_UNDERLINE);
    EXPECT_TRUE(format.dwEffects & CFE_STRIKEOUT);
    EXPECT_STREQ(format.szFaceName, "DejaVu Sans");
    EXPECT_EQ(format.bCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(InsertFormatTest, PlainFormatIsBlackWithNoEffectsAndStrikeoutCannotBeTurnedOff)
{
    set_text("words");
    set_format(0, 5, CFM_STRIKEOUT | CFM_BOLD | CFM_UNDERLINE, CFE_STRIKEOUT | CFE_BOLD | CFE_UNDERLINE, "", 0, 0);
    select(0, 5);

    apply_plain_format(editor);

    const CHARFORMAT2A format = format_of(0, 5);
    EXPECT_EQ(format.crTextColor, RGB(0, 0, 0));
    EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_TRUE(format.dwEffects & CFE_STRIKEOUT);
}

TEST_F(InsertFormatTest, HeightGoesBackToWhatTheDefaultFontGives)
{
    SendMessageA(editor, WM_CHAR, 'a', 0);
    const LONG default_height = format_of(0, 1).yHeight;
    set_text("big text");
    set_format(0, 3, CFM_SIZE, 0, "", 0, 480);
    ASSERT_EQ(format_of(0, 3).yHeight, 480);

    select(0, 3);
    apply_insert_format(editor, {.color = RGB(255, 0, 0), .bold = true});

    EXPECT_EQ(format_of(0, 3).yHeight, default_height);
}

TEST_F(InsertFormatTest, WithNothingSelectedTheInsertionPointTakesTheFormat)
{
    set_text("ab");
    select(1, 1);
    apply_insert_format(editor, {.color = RGB(255, 128, 255)});
    SendMessageA(editor, WM_CHAR, 'z', 0);
    EXPECT_EQ(format_of(1, 2).crTextColor, RGB(255, 128, 255));
    EXPECT_NE(format_of(0, 1).crTextColor, RGB(255, 128, 255));
}

// A long selection is formatted a slice at a time: every character of it
// gets the format, nothing beyond it does, and it stays selected.
TEST_F(InsertFormatTest, ALongSelectionIsFormattedWholeAndStaysSelected)
{
    std::string text;
    while (text.size() < 20000)
        text += "slice by slice\r\n";
    set_text("before " + text + " after");
    // As the control counts positions, which may take a line break as one.
    const LONG first = 7, last = text_length() - 6;
    select(first, last);

    ASSERT_TRUE(apply_insert_format(editor, {.color = RGB(0, 0, 255), .bold = true}));

    EXPECT_EQ(selection().cpMin, first);
    EXPECT_EQ(selection().cpMax, last);
    const CHARFORMAT2A format = format_of(first, last);
    EXPECT_EQ(format.dwMask & (CFM_COLOR | CFM_BOLD), static_cast<DWORD>(CFM_COLOR | CFM_BOLD)) << "one format throughout";
    EXPECT_EQ(format.crTextColor, RGB(0, 0, 255));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    EXPECT_FALSE(format_of(first - 1, first).dwEffects & CFE_BOLD);
    EXPECT_FALSE(format_of(last, last + 1).dwEffects & CFE_BOLD);
}
