#include "text/forum/forum_urls.h"
#include "text/commands/post_link_text.h"
#include "text_generators.h"
#include "text_oracles.h"

#include <gtest/gtest.h>

namespace {

const char EXAMPLE_ADDRESS[] = FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY";

TEST(PostLinkText, ConvertsTheExampleAddress)
{
    const PostLinkResult result = post_link_text(EXAMPLE_ADDRESS, "[url]", "[/url]");
    EXPECT_EQ(result.outcome, PostLinkOutcome::converted);
    EXPECT_EQ(result.replacement, "[url]" FORUM_BASE_URL "/read.php?23,1676166,1676237#msg-1676237[/url]");
}

struct PostLinkCase {
    const char* selection;
    PostLinkOutcome outcome;
    const char* replacement;
};

const PostLinkCase POST_LINK_CASES[] = {
    {"", PostLinkOutcome::no_hash, ""},
    {"read.php?23,1676166,1676237", PostLinkOutcome::no_hash, ""},
    {"#abc,1", PostLinkOutcome::no_comma_before_hash, ""},
    {"read.php#1,2", PostLinkOutcome::no_comma_before_hash, ""},
    {",123#x", PostLinkOutcome::no_comma_before_hash, ""},
    {",1,23#x", PostLinkOutcome::converted, "[url],1,23#msg-23[/url]"},
    {"a,#REPLY", PostLinkOutcome::converted, "[url]a,#msg-[/url]"},
    {"a,1#b,2#c", PostLinkOutcome::converted, "[url]a,1#msg-1[/url]"},
    {"hello, world#", PostLinkOutcome::converted, "[url]hello, world#msg- world[/url]"},
    {"  x?5,6#REPLY\r\n", PostLinkOutcome::converted, "[url]  x?5,6#msg-6[/url]"},
};

TEST(PostLinkText, EdgeCases)
{
    for (const PostLinkCase& c : POST_LINK_CASES) {
        SCOPED_TRACE(testing::PrintToString(c.selection));
        const PostLinkResult result = post_link_text(c.selection, "[url]", "[/url]");
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.replacement, c.replacement);
        const oracle::PostLink expected = oracle::convert_post_link(c.selection, "[url]", "[/url]");
        EXPECT_EQ(expected.buf, c.replacement) << "the oracle disagrees";
    }
}

TEST(PostLinkText, MatchesOracleOnThousandsOfInputs)
{
    const std::pair<const char*, const char*> tags[] = {{"[url]", "[/url]"}, {"", ""}, {"<", ">#,"}};
    gen::Random random(1676237);
    for (int i = 0; i < 20000; ++i) {
        std::string selection;
        switch (i % 4) {
        case 0: selection = gen::from_alphabet(random, "#,1a \n", gen::below(random, 40)); break;
        case 1: selection = gen::random_bytes(random, gen::below(random, 60)); break;
        case 2: selection = gen::from_pieces(random, {",", "#", "123", "read.php?", ",,", "##", " "}, gen::below(random, 50)); break;
        default: selection = EXAMPLE_ADDRESS + gen::from_alphabet(random, "#,9", gen::below(random, 6)); break;
        }
        const auto& [open, close] = tags[gen::below(random, std::size(tags))];
        const PostLinkResult result = post_link_text(selection, open, close);
        const oracle::PostLink expected = oracle::convert_post_link(selection, open, close);
        ASSERT_EQ(oracle::message_number(result.outcome), expected.message) << testing::PrintToString(selection);
        ASSERT_EQ(result.replacement, expected.buf) << testing::PrintToString(selection);
    }
}

TEST(PostLinkText, TakesLongSelectionsWhole)
{
    // The link can be nearly twice as long as the selection.
    const std::string selection = "x," + std::string(70'000, '7') + "#REPLY";
    const PostLinkResult result = post_link_text(selection, "[url]", "[/url]");
    ASSERT_EQ(result.outcome, PostLinkOutcome::converted);
    EXPECT_EQ(result.replacement, oracle::convert_post_link(selection, "[url]", "[/url]").buf);
    EXPECT_EQ(result.replacement.size(), 5 + 70'002 + 5 + 70'000 + 6u);
}

} // namespace
