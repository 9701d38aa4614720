#include "text/commands/find_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Positions = std::vector<std::size_t>;

TEST(FindText, WholeWordsAreBoundedByLettersOfAnyScriptNotByEmoji)
{
    const std::u16string text = u"kůň koňský kůň😀 \u0436kůň kůň\u0436"; // ж: a Cyrillic letter
    const FindRequest word{u"kůň", true};
    EXPECT_EQ(find_all_matches(text, word, 0, text.size()), (Positions{0, 11}));
    EXPECT_EQ(find_all_matches(text, {u"kůň", false}, 0, text.size()).size(), 4u);
}

TEST(FindText, NeverSplitsASurrogatePair)
{
    // U+1F600 and U+1F601 share their high surrogate.
    const std::u16string text = u"😀😁";
    EXPECT_FALSE(find_forward(text, {std::u16string_view(text).substr(1, 1), false}, 0, text.size()));
    EXPECT_EQ(find_forward(text, {u"😁", false}, 0, text.size()), 2u);
}

TEST(FindText, GoesDownAndUpFromTheSelectionAndWrapsAtEitherEnd)
{
    const std::u16string text = u"ab ab ab";
    const FindRequest ab{u"ab", false};
    EXPECT_EQ(find_next_match(text, ab, 3, 5, true)->start, 6u);
    EXPECT_EQ(find_next_match(text, ab, 3, 5, false)->start, 0u);
    const auto wrapped_down = find_next_match(text, ab, 6, 8, true);
    EXPECT_EQ(wrapped_down->start, 0u);
    EXPECT_TRUE(wrapped_down->wrapped);
    const auto wrapped_up = find_next_match(text, ab, 0, 2, false);
    EXPECT_EQ(wrapped_up->start, 6u);
    EXPECT_TRUE(wrapped_up->wrapped);
    EXPECT_FALSE(find_next_match(text, {u"ba", false}, 0, 0, true));
}

TEST(FindText, ReplacesEveryMatchWithinTheRangeWithoutOverlapping)
{
    const std::u16string text = u"aaaa xaax";
    const Positions matches = find_all_matches(text, {u"aa", false}, 0, 8);
    EXPECT_EQ(matches, (Positions{0, 2, 6}));
    // The stretch from the first match to the last one's end.
    EXPECT_EQ(replace_matches(text, matches, 2, u"ŘŘŘ"), u"ŘŘŘŘŘŘ xŘŘŘ");
}

} // namespace
