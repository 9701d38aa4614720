#include "editor_fixture.h"

#include "editor/char_format.h"

namespace {

class CharFormatTest : public EditorTest {};

} // namespace

TEST_F(CharFormatTest, FreshEditorTypesCourierNewEastEuropeanInColourOne)
{
    SendMessageA(editor, WM_CHAR, 'x', 0);
    SendMessageA(editor, WM_CHAR, 'y', 0);

    const CHARFORMAT2A format = format_of(0, 2);
    EXPECT_STREQ(format.szFaceName, "Courier New");
    EXPECT_EQ(format.bCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(format.crTextColor, RGB(1, 0, 0));
    EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR));
}

TEST_F(CharFormatTest, TypedTextSitsOnTheEditingAreasBackgroundNotOnBlack)
{
    SendMessageA(editor, WM_CHAR, 'x', 0);
    const CHARFORMAT2A format = format_of(0, 1);
    EXPECT_TRUE(format.dwEffects & CFE_AUTOBACKCOLOR);
}

TEST_F(CharFormatTest, TextPutInLaterShowsInTheEditorsFontToo)
{
    set_text("put in at once");
    const CHARFORMAT2A format = format_of(0, 3);
    EXPECT_STREQ(format.szFaceName, "Courier New");
    EXPECT_EQ(format.crTextColor, RGB(1, 0, 0));
    EXPECT_FALSE(format.dwEffects & CFE_BOLD);
}
