#include "text/forum/tag_check.h"
#include "text/forum/tag_match.h"
#include "tag_oracles.h"
#include "post_generators.h"

#include <gtest/gtest.h>

namespace {

std::vector<TagToken> scan(std::string_view post)
{
    std::vector<TagToken> tags;
    TagScanner scanner(post);
    while (const std::optional<TagToken> tag = scanner.next())
        tags.push_back(*tag);
    return tags;
}

// "[b]" or "[/b]" for each tag found, by canonical name.
std::string found(std::string_view post)
{
    std::string text;
    for (const TagToken& tag : scan(post))
        text.append(tag.closing ? "[/" : "[").append(forum_tag(tag.id).name).append("]");
    return text;
}

TEST(TagScanner, KnowsTagsOnlyInTheirWrittenForms)
{
    EXPECT_EQ(found("[B]x[/b] [Url=http://a]y[/URL] [size=14px] [SIZE=9PX] [color=#ff0000] [color=Navy] [color=#abc]"),
              "[b][/b][url][/url][size][size][color][color][color]");
    EXPECT_EQ(found("[list=1][*][/list] [list=A] [hr] [quote=\"Petr\"]"), "[list][*][/list][list][hr][quote]");
    // Values that do not fit, unknown names, stray spaces and half brackets.
    EXPECT_EQ(found("[b=1] [size=huge] [size=0] [size=1000px] [color=#12345] [color=reddish] [url=] [list=2]"), "");
    EXPECT_EQ(found("[foo] [ b] [b ] [/hr] [/*] [/b=1] [b [url=a[b]"), "[b]");
    EXPECT_EQ(found("[url=a\nb] [quote=x\r] [b"), "");
}

TEST(TagScanner, CodeAndImageContentsAreLiteral)
{
    EXPECT_EQ(found("[code][b][/i][code][/CODE][/b]"), "[code][/code][/b]");
    EXPECT_EQ(found("[img]a[b]c[/img]"), "[img][/img]");
    // With no close anywhere after them they are ordinary unclosed tags.
    EXPECT_EQ(found("[code][b]x[/b] [img][i]"), "[code][b][/b][img][i]");
}

TEST(TagCheck, NamesTheKindTheTagsAndTheLine)
{
    struct Case {
        const char* post;
        TagProblemKind kind;
        ForumTagId tag;
        ForumTagId other;
        size_t line;
    };
    const Case cases[] = {
        {"[b]Ahoj[/b]\r\n[hr]\r\n[list][*]a[*]b[/list]", TagProblemKind::none, ForumTagId::b, ForumTagId::b, 0},
        {"a\r\nb\r\n[quote]c", TagProblemKind::unclosed, ForumTagId::quote, ForumTagId::quote, 3},
        {"1\n2\r3\r\n4\n\n[/i]", TagProblemKind::no_open, ForumTagId::i, ForumTagId::i, 6},
        {"a\n[b][i]x[/b][/i]", TagProblemKind::crossed, ForumTagId::b, ForumTagId::i, 2},
        {"[size=14px]x[color=red]y", TagProblemKind::unclosed, ForumTagId::size, ForumTagId::size, 1},
    };
    for (const Case& test : cases) {
        const TagProblem problem = check_tags(test.post);
        EXPECT_EQ(problem.kind, test.kind) << test.post;
        EXPECT_EQ(problem.tag, test.tag) << test.post;
        EXPECT_EQ(problem.other, test.other) << test.post;
        EXPECT_EQ(problem.line, test.line) << test.post;
    }
}

TEST(TagCheck, SelectsTheOffendingTag)
{
    const std::string post = "[b][i]x[/B][/i]";
    const TagProblem problem = check_tags(post);
    EXPECT_EQ(problem.kind, TagProblemKind::crossed);
    EXPECT_EQ(post.substr(problem.offset, problem.length), "[/B]");
}

TEST(TagCheck, TheFirstProblemInThePostWins)
{
    // The unclosed [u] is found only at the end but stands before the crossing.
    const TagProblem problem = check_tags("[b][u][i]x[/b][/i]");
    EXPECT_EQ(problem.kind, TagProblemKind::unclosed);
    EXPECT_EQ(problem.tag, ForumTagId::u);
    EXPECT_EQ(problem.offset, 3u);
}

TEST(TagCheck, PairsCloseWithTheNearestOpen)
{
    // The second [b] is closed, so the first is the unclosed one.
    EXPECT_EQ(check_tags("[b]a[b]b[/b]").offset, 0u);
    // A crossing names the innermost tag still open.
    const TagProblem crossed = check_tags("[b][i][u]x[/b][/u][/i]");
    EXPECT_EQ(crossed.tag, ForumTagId::b);
    EXPECT_EQ(crossed.other, ForumTagId::u);
}

TEST(TagCheck, LooksNotIntoCode)
{
    EXPECT_EQ(check_tags("[code][b][/i][quote][/code]").kind, TagProblemKind::none);
    EXPECT_EQ(check_tags("[code][b]").kind, TagProblemKind::unclosed);
}

TEST(TagMatch, MarkupLeavesBrokenTagsAsTyped)
{
    const std::vector<MatchedTag> tags = match_tags("[b][i]x[/b][/i] [*] [list][*][/list] [/u]");
    std::string markup;
    for (const MatchedTag& tag : tags)
        markup += tag.markup ? '1' : '0';
    // [b] and [/b] cross [i]; the [*] outside a list and the stray [/u] are text.
    EXPECT_EQ(markup, "0101" "0" "111" "0");
}

TEST(TagMatch, NestingBeyondTheLimitIsText)
{
    std::string post;
    for (size_t i = 0; i < editor_profile().markup_depth + 2; ++i)
        post += "[quote]";
    for (size_t i = 0; i < editor_profile().markup_depth + 2; ++i)
        post += "[/quote]";
    size_t markup = 0;
    for (const MatchedTag& tag : match_tags(post))
        markup += tag.markup;
    EXPECT_EQ(markup, 2 * editor_profile().markup_depth);
    EXPECT_EQ(check_tags(post).offset, editor_profile().markup_depth * 7);
    const TagProblem too_deep = check_tags(post);
    EXPECT_EQ(too_deep.kind, TagProblemKind::too_deep);
    EXPECT_EQ(too_deep.tag, ForumTagId::quote);
    EXPECT_EQ(too_deep.line, 1u);
}

void expect_same_as_reference(const std::string& post)
{
    const TagProblem got = check_tags(post);
    const TagProblem expected = oracle::check_tags(post);
    ASSERT_EQ(got, expected) << testing::PrintToString(post);
}

TEST(TagCheck, MatchesTheReferenceOnGeneratedPosts)
{
    gen::Random random(20240701);
    // Markup with a few slips: crossings, doubled and missing tags.
    for (int i = 0; i < 6000; ++i)
        ASSERT_NO_FATAL_FAILURE(expect_same_as_reference(gen::post_with_slips(random, gen::below(random, 40))));
    // Tag-like debris.
    const std::vector<std::string_view> pieces = {
        "[b]", "[/b]", "[i]", "[/I]", "[quote]", "[/quote]", "[code]", "[/code]", "[img]", "[/img]", "[size=14px]",
        "[/size]", "[list]", "[/list]", "[*]", "[hr]", "[/hr]", "[b=1]", "[", "]", "=", "/", "x", "\r\n", "\r", "[url="};
    for (int i = 0; i < 6000; ++i)
        ASSERT_NO_FATAL_FAILURE(expect_same_as_reference(gen::from_pieces(random, pieces, gen::below(random, 80))));
}

} // namespace
