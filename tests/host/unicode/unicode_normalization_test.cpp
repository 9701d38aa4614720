#include "text/unicode/unicode_normalization.h"
#include "text/unicode/unicode_text.h"
#include "text_generators.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(UnicodeNormalization, ComposesAsFormC)
{
    struct Row {
        std::string text, nfc;
    } rows[] = {
        {"ka\xCC\x81va", "káva"},                       // a + U+0301
        {"\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB", "한"}, // Hangul L + V + T, composed by rule
        {"q\xCC\xA3\xCC\x87", "q\xCC\xA3\xCC\x87"},      // marks in canonical order stay
        {"q\xCC\x87\xCC\xA3", "q\xCC\xA3\xCC\x87"},      // and are put in it
        {"\xE2\x84\xAB", "\xC3\x85"},                    // the Ångström sign becomes Å
        {"❤️ 😀", "❤️ 😀"},                              // U+FE0F and emoji stand alone
        {"a\xCC\x81\xED\xA0\xBD", "a\xCC\x81\xED\xA0\xBD"}, // a lone surrogate: left as it was
    };
    for (const Row& row : rows) {
        EXPECT_EQ(to_nfc(row.text), row.nfc) << row.text;
        EXPECT_EQ(nfc_length(row.text), count_code_points(row.nfc)) << row.text;
    }
}

// The stretches nfc_length() normalises alone add up to the whole text's form C.
TEST(UnicodeNormalization, LengthAgreesWithTheWholeTextNormalised)
{
    const std::vector<std::string_view> pieces = {"a", "e", " ", "\xCC\x81", "\xCC\xA3", "\xCC\x87", "č", "\xE1\x84\x92",
                                                  "\xE1\x85\xA1", "\xE1\x86\xAB", "\xEF\xB8\x8F", "😀", "\xE2\x84\xAB",
                                                  "\r\n", "ω", "\xCD\x82"};
    gen::Random random(27);
    for (int i = 0; i < 2000; ++i) {
        const std::string text = gen::from_pieces(random, pieces, 1 + gen::below(random, 24));
        ASSERT_EQ(nfc_length(text), count_code_points(to_nfc(text))) << testing::PrintToString(text);
    }
}

TEST(UnicodeNormalization, JoiningMarksAreMarksAndJoiners)
{
    for (char32_t mark : {U'\u0301', U'\u20E3', U'\uFE0F', U'\u200D', U'\u200C', U'\u093F'})
        EXPECT_TRUE(is_joining_mark(mark)) << static_cast<uint32_t>(mark);
    for (char32_t other : {U'a', U'č', U'\u2764', U'\U0001F600', U'\u2060', U'\u300A'})
        EXPECT_FALSE(is_joining_mark(other)) << static_cast<uint32_t>(other);
}

} // namespace
