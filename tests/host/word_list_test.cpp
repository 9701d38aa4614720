#include "text/word_list.h"

#include <gtest/gtest.h>

namespace {

TEST(WordList, ReadsOneWordALineWhateverTheLineEnds)
{
    const auto words = parse_word_list("\xEF\xBB\xBFPraha\r\n\r\n  kůň \nPraha\nWi-Fi");
    ASSERT_TRUE(words);
    EXPECT_EQ(*words, (std::vector<std::string>{"Praha", "kůň", "Wi-Fi"}));
}

TEST(WordList, RefusesWhatIsNoText)
{
    EXPECT_FALSE(parse_word_list("slovo\n\xC3("));
    EXPECT_FALSE(parse_word_list(std::string("slo\0vo", 6)));
}

TEST(WordList, AnAdditionReadsBackAsTheLastWord)
{
    std::string file = "Praha";
    file += word_list_addition(file, "kůň");
    EXPECT_EQ(*parse_word_list(file), (std::vector<std::string>{"Praha", "kůň"}));
    EXPECT_EQ(word_list_addition("", "x"), "x\r\n");
    EXPECT_FALSE(is_storable_word(" x"));
    EXPECT_FALSE(is_storable_word("a\nb"));
    EXPECT_TRUE(is_storable_word("česko-slovenský"));
}

} // namespace
