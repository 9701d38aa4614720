#include "editor_fixture.h"

#include "editor/wrap_selection.h"

namespace {

class WrapSelectionTest : public BareEditorTest {};

struct WrapCase {
    const char* name;
    const char* document;
    LONG first, last;
    const char* open_tag;
    const char* close_tag;
    const char* expected;
    const char* expected_selection;
};

void PrintTo(const WrapCase& c, std::ostream* out)
{
    *out << c.name;
}

const WrapCase wrap_cases[] = {
    {"empty_selection_inserts_both_tags_at_caret", "abcdef", 3, 3, "[b]", "[/b]", "abc[b][/b]def", "[b][/b]"},
    {"word_between_url_tags", "see word now", 4, 8, "[url]", "[/url]", "see [url]word[/url] now", "[url]word[/url]"},
    {"empty_close_tag_puts_snippet_in_front", "abc", 0, 3, "[img]x[/img] ", "", "[img]x[/img] abc", "[img]x[/img] abc"},
    {"tags_are_used_unchanged", "x", 0, 1, "[i] ", "[/i]", "[i] x[/i]", "[i] x[/i]"},
    {"whole_line_of_a_multiline_document", "one\r\ntwo\r\nthree", 5, 8, "[u]", "[/u]", "one\r\n[u]two[/u]\r\nthree", "[u]two[/u]"},
};

class WrapCaseTest : public WrapSelectionTest, public ::testing::WithParamInterface<WrapCase> {};

} // namespace

TEST_P(WrapCaseTest, ReplacesSelectionAndSelectsExactlyTheInsertion)
{
    const WrapCase& c = GetParam();
    set_text(c.document);
    select(c.first, c.last);

    wrap_selection(editor, c.open_tag, c.close_tag, AfterWrap::insertion_selected);

    EXPECT_EQ(text(), c.expected);
    EXPECT_EQ(selection().cpMin, c.first);
    EXPECT_EQ(selected_text(), c.expected_selection);
}

INSTANTIATE_TEST_SUITE_P(Cases, WrapCaseTest, ::testing::ValuesIn(wrap_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WrapSelectionTest, SecondWrapWrapsTheFirstResult)
{
    set_text("x");
    select(0, 1);
    wrap_selection(editor, "[b]", "[/b]", AfterWrap::insertion_selected);
    wrap_selection(editor, "[url]", "[/url]", AfterWrap::insertion_selected);

    EXPECT_EQ(text(), "[url][b]x[/b][/url]");
    EXPECT_EQ(selected_text(), "[url][b]x[/b][/url]");
}

TEST_F(WrapSelectionTest, CaretAfterLeavesCaretAfterInsertion)
{
    set_text("abc");
    select(1, 2);

    wrap_selection(editor, "[hr]", "\n", AfterWrap::caret_after);

    const CHARRANGE after = selection();
    EXPECT_EQ(after.cpMin, after.cpMax);
    EXPECT_EQ(text_range(0, 5), "a[hr]");
    EXPECT_EQ(text_range(after.cpMax, after.cpMax + 1), "c");
}

TEST_F(WrapSelectionTest, LineBreaksInTagsAreSelectedAsTheControlCountsThem)
{
    set_text("xx word yy");
    select(3, 7);

    wrap_selection(editor, "[code]\n", "\n[/code]", AfterWrap::insertion_selected);

    const CHARRANGE after = selection();
    EXPECT_EQ(text_range(0, after.cpMin), "xx ");
    EXPECT_EQ(text_range(after.cpMax, text_length()), " yy");
    const std::string inserted = selected_text();
    EXPECT_EQ(inserted.substr(0, 6), "[code]");
    EXPECT_EQ(inserted.substr(inserted.size() - 7), "[/code]");
    EXPECT_NE(inserted.find("word"), std::string::npos);
}

TEST_F(WrapSelectionTest, SelectionStartingPast65535IsWrappedInPlace)
{
    // Wine re-wraps one unbroken run of this length in quadratic time; the
    // positions are what is tested here, so leave the lines unwrapped.
    SendMessageA(editor, EM_SETTARGETDEVICE, 0, 1);
    std::string document(100000, 'a');
    document.replace(70000, 10, "0123456789");
    set_text(document);
    ASSERT_EQ(text_length(), 100000);
    select(70000, 70010);

    wrap_selection(editor, "[b]", "[/b]", AfterWrap::insertion_selected);

    const CHARRANGE after = selection();
    EXPECT_EQ(after.cpMin, 70000);
    EXPECT_EQ(after.cpMax, 70017);
    EXPECT_EQ(selected_text(), "[b]0123456789[/b]");
    EXPECT_EQ(text_length(), 100007);
    EXPECT_EQ(text_range(69998, 70000), "aa");
}

TEST_F(WrapSelectionTest, SelectionOf70000CharactersIsWrappedWhole)
{
    std::string body;
    for (int i = 0; body.size() < 70000; ++i)
        body += "word" + std::to_string(i % 10) + " ";
    body.resize(70000);
    set_text("<" + body + ">");
    select(1, 70001);

    wrap_selection(editor, "[quote]", "[/quote]", AfterWrap::insertion_selected);

    EXPECT_EQ(text(), "<[quote]" + body + "[/quote]>");
    EXPECT_EQ(selected_text(), "[quote]" + body + "[/quote]");
}

TEST_F(WrapSelectionTest, ReplacementIsNotOfferedForUndo)
{
    set_text("abc");
    SendMessageA(editor, EM_EMPTYUNDOBUFFER, 0, 0);
    select(0, 3);

    wrap_selection(editor, "[b]", "[/b]", AfterWrap::insertion_selected);

    EXPECT_FALSE(SendMessageA(editor, EM_CANUNDO, 0, 0));
}

TEST_F(WrapSelectionTest, LeavesTheFocusWhereItWas)
{
    set_text("abc");
    select(0, 3);
    SetFocus(nullptr);

    wrap_selection(editor, "[b]", "[/b]", AfterWrap::insertion_selected);

    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WrapSelectionTest, TagsTakeTheFormatOfTheFirstSelectedCharacterAndTheTextStaysAsItWas)
{
    set_text("ab\r\ncd");
    select(0, 1);
    CHARFORMAT2A red{};
    red.cbSize = sizeof red;
    red.dwMask = CFM_COLOR | CFM_BOLD;
    red.crTextColor = RGB(255, 0, 0);
    red.dwEffects = CFE_BOLD;
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&red));
    const std::string inner = text_range(0, 6);
    select(0, 6);

    wrap_selection(editor, "[u]", "[/u]", AfterWrap::insertion_selected);

    EXPECT_EQ(text(), "[u]" + inner + "[/u]");
    for (LONG position : {0L, 2L, 9L, 12L}) {
        SCOPED_TRACE(position);
        const CHARFORMAT2A format = format_of(position, position + 1);
        EXPECT_EQ(format.crTextColor, RGB(255, 0, 0));
        EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    }
}
