#include "text/unicode/code_points.h"
#include "text/forum/post_counts.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePoints, JoinsSurrogatesAndStepsOverBrokenBytes)
{
    // U+1F600 written as one sequence and as a WTF-8 high and low surrogate.
    EXPECT_EQ(decode_code_point("\xF0\x9F\x98\x80", 0).value, U'\U0001F600');
    const CodePoint pair = decode_code_point("\xED\xA0\xBD\xED\xB8\x80", 0);
    EXPECT_EQ(pair.value, U'\U0001F600');
    EXPECT_EQ(pair.length, 6u);
    // A lone surrogate is a character of its own.
    EXPECT_EQ(decode_code_point("\xED\xA0\xBDx", 0).value, 0xD83Du);
    // Overlong, too large, stray continuation, five-byte lead: one byte each;
    // a sequence cut short is one character as far as it goes.
    for (std::string_view broken : {"\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xF8\x88\x80\x80\x80", "\xE2\x82"}) {
        const CodePoint c = decode_code_point(broken, 0);
        EXPECT_EQ(c.value, REPLACEMENT_CHARACTER) << testing::PrintToString(broken);
        EXPECT_EQ(c.length, broken.size() == 2 && broken[0] == '\xE2' ? 2u : 1u);
    }
}

TEST(CountPost, CharactersAreCodePointsAndALineBreakIsOne)
{
    // ž is two bytes, the smiley four, and a WTF-8 pair six: one each.
    EXPECT_EQ(count_post("ž\r\n\n\r😀\xED\xA0\xBD\xED\xB8\x80\xED\xA0\xBD").length, 7u);
    EXPECT_EQ(count_post("a\xFF\x80" "b").length, 4u);
    EXPECT_EQ(count_post("").length, 0u);
}

TEST(CountPost, WithoutTagsLeavesOutMarkupAndPictureAddresses)
{
    EXPECT_EQ(count_post("[b]Ahoj[/b] [color=#FF0000]světe[/color][hr]").characters_without_tags, 10u);
    EXPECT_EQ(count_post("a[img]http://x/y.png[/img]b").characters_without_tags, 2u);
    // Broken and unknown tags are shown, so they are text; so is code.
    EXPECT_EQ(count_post("[b]x[foo]").characters_without_tags, 9u);
    EXPECT_EQ(count_post("[code][b]x[/b][/code]").characters_without_tags, 8u);
    EXPECT_EQ(count_post("[*]x").characters_without_tags, 4u);
}

TEST(CountPost, WordsNeedALetterOrDigit)
{
    struct Case {
        const char* post;
        size_t words;
    };
    const Case cases[] = {
        {"", 0},
        {"Dobrý den, světe!", 3},
        {"a – b :-) 42", 3},                     // a dash or a smiley is no word
        {"a\u00A0b\u3000c\td\r\ne", 5},          // no-break and ideographic spaces separate
        {"[b]Ahoj[/b]te [url]http://a.b/c[/url]", 2}, // inline tags join
        {"a[hr]b[quote]c[/quote]d[img]e[/img]f", 5},   // blocks and pictures separate
        {"x[foo]y", 1},
    };
    for (const Case& test : cases)
        EXPECT_EQ(count_post(test.post).words, test.words) << test.post;
}

} // namespace
