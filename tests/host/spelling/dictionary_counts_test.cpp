#include "text/spelling/dictionary_counts.h"

#include <gtest/gtest.h>

namespace {

struct AffCase {
    const char* name;
    std::string aff;
    std::size_t overstated_line; // 0: none
};

// Hunspell reads a table's entries as the lines right after it, so an entry
// that looks like a table of its own is never taken for one.
TEST(DictionaryCounts, FindsTheFirstTableThatAnnouncesMoreEntriesThanLinesFollow)
{
    const AffCase cases[] = {
        {"sound tables", "SET UTF-8\nREP 2\nREP a b\nREP c d\nSFX A Y 1\nSFX A 0 s .\n", 0},
        {"the damage as found", "SET UTF-8\r\nREP 1500000015\r\nREP a b\r\n", 2},
        {"one entry short", "MAP 3\nMAP aá\nMAP eé\n", 1},
        {"an affix count", "SET UTF-8\nPFX P N 40\nPFX P 0 ne .\n", 2},
        {"a number past any integer", "BREAK 99999999999999999999999\n", 1},
        {"an entry that looks like a count", "REP 1\nREP 900 x\nICONV 1\nICONV a b\n", 0},
        {"after a byte-order mark", "\xEF\xBB\xBFKEY qwerty\nAF 5\nAF AB\n", 2},
        {"AF needs white space after it", "AFTER 7\n", 0},
        {"a keyword is a prefix, as Hunspell reads it", "REPLACE 4\n", 1},
        {"no count at all", "REP\nSFX A Y\n", 0},
        {"a negative count, which Hunspell refuses itself", "PHONE -5\n", 0},
    };
    for (const AffCase& test : cases) {
        SCOPED_TRACE(test.name);
        const auto found = first_overstated_table(test.aff);
        EXPECT_EQ(found ? found->line : 0, test.overstated_line);
    }
    EXPECT_EQ(first_overstated_table("SET UTF-8\nCOMPOUNDRULE 2\nCOMPOUNDRULE A*\n")->keyword, "COMPOUNDRULE");
    EXPECT_EQ(first_overstated_table("AF\t9\n")->keyword, "AF");
}

TEST(DictionaryCounts, AWordCountFitsWhenTheFileHasAByteForEachWord)
{
    EXPECT_TRUE(word_count_fits("3", 12));
    EXPECT_TRUE(word_count_fits("\xEF\xBB\xBF" "12", 12));
    EXPECT_FALSE(word_count_fits("13", 12));
    EXPECT_FALSE(word_count_fits("1500000015", 3656362));
}

} // namespace
