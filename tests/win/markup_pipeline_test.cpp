// The markup pipeline on a bare control: one case for each order in which a
// command wraps and formats.
#include "editor_fixture.h"

#include "editor/insert_format.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"

namespace {

class MarkupPipelineTest : public BareEditorTest {
protected:
    bool apply(WORD id)
    {
        const Markup* markup = find_markup(id);
        EXPECT_NE(markup, nullptr) << id;
        return markup && apply_markup(editor, *markup);
    }

    COLORREF color_at(LONG position) { return format_of(position, position + 1).crTextColor; }
};

} // namespace

TEST_F(MarkupPipelineTest, WrapFirstFormatsTheWholeInsertionAndLeavesItSelected)
{
    set_text("see word now");
    select(4, 8);

    EXPECT_TRUE(apply(IDM_TAG_URL));

    EXPECT_EQ(text(), "see [url]word[/url] now");
    EXPECT_EQ(selected_text(), "[url]word[/url]");
    for (LONG position : {4L, 10L, 18L})
        EXPECT_EQ(color_at(position), RGB(0, 0, 255)) << position;
    EXPECT_EQ(color_at(0), color_at(20));
}

TEST_F(MarkupPipelineTest, FormatFirstGivesTheTagsTheFormatOfTheSelection)
{
    set_text("a word b");
    // The bare control's own default is bold; start from plain text.
    select(0, 8);
    apply_plain_format(editor);
    select(2, 6);

    EXPECT_TRUE(apply(IDM_TAG_BOLD));

    EXPECT_EQ(selected_text(), "[b]word[/b]");
    for (LONG position : {2L, 5L, 12L})
        EXPECT_TRUE(format_of(position, position + 1).dwEffects & CFE_BOLD) << position;
    EXPECT_FALSE(format_of(0, 1).dwEffects & CFE_BOLD);
}

TEST_F(MarkupPipelineTest, SmileyGoesInAtTheCaretSelectedAndBlue)
{
    set_text("ab");
    select(1, 1);

    EXPECT_TRUE(apply(IDM_SMILEY_FIRST));

    const std::string inserted = selected_text();
    EXPECT_EQ(inserted.rfind("[img]", 0), 0u);
    EXPECT_EQ(text(), "a" + inserted + "b");
    EXPECT_EQ(color_at(selection().cpMin), RGB(0, 0, 255));
}

TEST_F(MarkupPipelineTest, RuleLeavesTheCaretAfterItsLineFeedWithNothingSelected)
{
    set_text("xx abc yy");
    select(3, 6);

    EXPECT_FALSE(apply(IDM_TAG_HR));

    const CHARRANGE after = selection();
    EXPECT_EQ(after.cpMin, after.cpMax);
    EXPECT_EQ(text_range(after.cpMax, text_length()), " yy");
    EXPECT_EQ(text_range(0, 7), "xx [hr]");
}
