#include "text/unicode/unicode_text.h"
#include "text_generators.h"
#include "text_oracles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// "a é € 😀", then a lone lead surrogate, an x and a lone trail surrogate.
const std::u16string MIXED_UTF16 = u"a\u00E9\u20AC\U0001F600\xD800x\xDC00";
const std::string MIXED_UTF8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xED\xA0\x80x\xED\xB0\x80";

TEST(UnicodeText, PairsTakeFourBytesAndLoneSurrogatesThree)
{
    EXPECT_EQ(utf16_to_utf8(MIXED_UTF16), MIXED_UTF8);
    EXPECT_EQ(utf8_to_utf16(MIXED_UTF8), MIXED_UTF16);
    EXPECT_EQ(count_code_points(MIXED_UTF8), 7u);
    EXPECT_EQ(utf16_length(MIXED_UTF8), 8u);
    EXPECT_EQ(utf8_offset_of_utf16(MIXED_UTF8, 4), 6u); // between the halves of the emoji
    EXPECT_EQ(utf8_offset_of_utf16(MIXED_UTF8, 5), 10u);
    EXPECT_EQ(utf8_offset_of_utf16(MIXED_UTF8, 9), MIXED_UTF8.size());
}

// The example the Unicode standard gives for U+FFFD per maximal subpart:
// F1 80 80 is a four-byte start cut short, E1 80 a three-byte one, C2 a
// two-byte one, and a continuation byte on its own is one subpart.
TEST(UnicodeText, EachMaximalInvalidSubpartIsOneReplacement)
{
    const std::string bytes = "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64";
    EXPECT_EQ(utf8_to_utf16(bytes), u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd");
    EXPECT_EQ(count_code_points(bytes), 10u);
    EXPECT_EQ(utf16_length(bytes), 10u);
}

TEST(UnicodeText, ValidUtf8IsStrict)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"plain", true},
        {"\xED\x9F\xBF", true},          // U+D7FF, the last before the surrogates
        {"\xF4\x8F\xBF\xBF", true},      // U+10FFFF
        {"\xED\xA0\x80", false},         // a surrogate's own bytes
        {"\xF4\x90\x80\x80", false},     // beyond U+10FFFF
        {"\xE0\x9F\xBF", false},         // overlong
        {"\xC0\xAF", false},             // overlong
        {"\xE2\x82", false},             // cut short
        {"ok\x80", false},               // continuation byte alone
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(is_valid_utf8(bytes), valid) << testing::PrintToString(bytes);
}

TEST(UnicodeText, RepairReplacesAndCountsWhatStrictUtf8Refuses)
{
    std::size_t replacements = 99;
    EXPECT_EQ(repair_utf8("a\xED\xA0\x80" "b\xC3", replacements), "a\uFFFD\uFFFD\uFFFDb\uFFFD");
    EXPECT_EQ(replacements, 4u);
    EXPECT_EQ(repair_utf8("\xC5\xBEluou\xC4\x8Dk\xC3\xBD", replacements), "\xC5\xBEluou\xC4\x8Dk\xC3\xBD");
    EXPECT_EQ(replacements, 0u);
}

// Deleting a line break between a lone lead and a lone trail surrogate
// leaves their two sequences side by side: UTF-16 pairs them, and so does
// every function here.
TEST(UnicodeText, SurrogateSequencesThatPairAreOneCharacter)
{
    const std::string halves = "\xED\xA0\xBD\xED\xB8\x80!"; // U+1F600 spelled as two halves
    EXPECT_EQ(count_code_points(halves), 2u);
    EXPECT_EQ(utf16_length(halves), 3u);
    EXPECT_EQ(utf8_to_utf16(halves), u"\U0001F600!");
    EXPECT_EQ(utf8_offset_of_utf16(halves, 1), 0u);
    EXPECT_EQ(previous_character(halves, 6), 0u);
    EXPECT_EQ(to_strict_utf8(halves), "\xF0\x9F\x98\x80!");
    EXPECT_EQ(to_strict_utf8(MIXED_UTF8), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\uFFFDx\uFFFD");
}

// Any bytes at all cut into the same characters forwards, backwards and as
// the reflow's reference cuts them.
TEST(UnicodeText, CharacterStepsAgreeOnAnyBytes)
{
    gen::Random random(1676237);
    for (int i = 0; i < 3000; ++i) {
        const std::string text =
            i % 2 ? gen::random_bytes(random, gen::below(random, 30))
                  : gen::from_pieces(random, {"\xED\xA0\x80", "\xED\xB0\x80", "\xED", "\xA0", "\x80", "\xF0\x9F", "\xC3\xA9", "a"},
                                     gen::below(random, 30));
        SCOPED_TRACE(testing::PrintToString(text));
        std::vector<std::size_t> starts;
        for (std::size_t at = 0; at < text.size(); at = next_character(text, at))
            starts.push_back(at);
        std::vector<std::size_t> reference;
        std::size_t at = 0;
        for (const std::string_view character : oracle::characters(text)) {
            reference.push_back(at);
            at += character.size();
        }
        ASSERT_EQ(starts, reference);
        ASSERT_EQ(count_code_points(text), starts.size());
        for (std::size_t k = 0; k < starts.size(); ++k) {
            ASSERT_EQ(skip_code_points(text, 0, k), starts[k]);
            const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
            for (std::size_t inside = starts[k] + 1; inside <= end; ++inside)
                ASSERT_EQ(previous_character(text, inside), starts[k]) << "from byte " << inside;
        }
        ASSERT_EQ(skip_code_points(text, 0, starts.size() + 1), text.size());
    }
}

TEST(UnicodeText, SlicesSplitNoPairAndNoLineBreak)
{
    struct Case {
        std::u16string text;
        std::size_t from, most, end;
    };
    const Case cases[] = {
        {u"abcd", 0, 2, 2},
        {u"abcd", 2, 8, 4},
        {u"a😀b", 0, 2, 1},   // not between the halves of the emoji
        {u"a\r\nb", 0, 2, 1}, // nor between CR and LF
        {u"\r\r\n", 0, 2, 1},
        {u"a\n\rb", 0, 2, 2}, // LF CR is two breaks
        {std::u16string{u'a', u'b', 0xDC00, u'c'}, 0, 2, 2}, // a lone low half stays a unit of its own
    };
    for (const Case& c : cases)
        EXPECT_EQ(slice_end(c.text, c.from, c.most), c.end) << c.from << " " << c.most;
}

} // namespace
