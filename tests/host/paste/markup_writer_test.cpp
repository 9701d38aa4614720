// Runs of a word processor's text, as the hidden control hands them over,
// written as markup: their spaces and line breaks stand.
#include "text/paste/markup_writer.h"
#include "text/forum/tag_check.h"

#include <gtest/gtest.h>

namespace {

struct StyledRun {
    const char* text;
    InlineStyle style;
};

std::string written(const std::vector<StyledRun>& runs, const PasteOptions& options = {})
{
    MarkupWriter writer(options);
    for (const StyledRun& run : runs)
        writer.preserved_text(run.text, run.style);
    return writer.finish().text;
}

const InlineStyle BOLD{.bold = true};
const InlineStyle ITALIC{.italic = true};
const InlineStyle BOLD_STRUCK{.bold = true, .strike = true};

} // namespace

TEST(MarkupWriter, RunsOfAWordProcessorKeepTheirSpacesAndLines)
{
    struct Row {
        const char* name;
        std::vector<StyledRun> runs;
        std::string markup;
    };
    const Row rows[] = {
        {"spaces stand, even two", {{"a  ", {}}, {"b", BOLD}, {" c", {}}}, "a  [b]b[/b] c"},
        {"a run across a line break stays open", {{"one\ntwo", BOLD}, {"\nthree", {}}}, "[b]one\ntwo[/b]\nthree"},
        {"an empty line between paragraphs", {{"a\n\n", {}}, {"b", ITALIC}, {"\n", {}}}, "a\n\n[i]b[/i]"},
        {"styles that grow and shrink nest", {{"x", BOLD}, {"y", BOLD_STRUCK}, {"z", BOLD}}, "[b]x[s]y[/s]z[/b]"},
        {"sizes and colours are left out by default",
         {{"big", {.color = 0xFF0000, .size_px = 27}}},
         "big"},
    };
    for (const Row& row : rows) {
        const std::string markup = written(row.runs);
        EXPECT_EQ(markup, row.markup) << row.name;
        EXPECT_EQ(check_tags(markup).kind, TagProblemKind::none) << row.name;
    }
    PasteOptions options;
    options.colors_and_sizes = true;
    EXPECT_EQ(written({{"big", {.color = 0xFF0000, .size_px = 27}}, {" normal", {.color = 0x333333, .size_px = 16}}},
                      options),
              "[size=30px][color=#FF0000]big[/color][/size] normal");
}

TEST(MarkupWriter, InlineTagsStopAtTheDepthTheForumsLayOut)
{
    MarkupWriter writer({});
    InlineStyle style{.bold = true, .italic = true, .underline = true, .strike = true};
    for (int i = 0; i < 30; ++i)
        writer.open_block(Block::quote);
    writer.flowing_text("deep", style);
    const std::string markup = writer.finish().text;
    EXPECT_NE(markup.find("deep"), std::string::npos);
    EXPECT_EQ(check_tags(markup).kind, TagProblemKind::none);
}
