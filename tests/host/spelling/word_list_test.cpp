#include "text/spelling/word_list.h"

#include <gtest/gtest.h>

namespace {

TEST(WordList, ReadsOneWordALineWhateverTheLineEnds)
{
    const WordList list = parse_word_list("\xEF\xBB\xBFPraha\r\n\r\n  kůň \nPraha\nWi-Fi");
    EXPECT_EQ(list.words, (std::vector<std::string>{"Praha", "kůň", "Wi-Fi"}));
    EXPECT_TRUE(list.bad_lines.empty());
}

// As found, one word saved in code page 1250 cost every other word.
TEST(WordList, LeavesOutAndNamesTheLinesThatAreNoTextAndKeepsTheRest)
{
    const WordList list = parse_word_list(std::string("slovo\r\n\xE8\x61pek\r\nkůň\r\nslo\0vo\r\n\xC3(\nPraha", 37));
    EXPECT_EQ(list.words, (std::vector<std::string>{"slovo", "kůň", "Praha"}));
    EXPECT_EQ(list.bad_lines, (std::vector<std::size_t>{2, 4, 5}));
}

TEST(WordList, AnAdditionReadsBackAsTheLastWord)
{
    std::string file = "Praha";
    file += word_list_addition(file, "kůň");
    EXPECT_EQ(parse_word_list(file).words, (std::vector<std::string>{"Praha", "kůň"}));
    EXPECT_EQ(word_list_addition("", "x"), "x\r\n");
    EXPECT_FALSE(is_storable_word(" x"));
    EXPECT_FALSE(is_storable_word("a\nb"));
    EXPECT_TRUE(is_storable_word("česko-slovenský"));
}

} // namespace
