#include "text/rtf/rtf_unicode.h"

#include <gtest/gtest.h>

TEST(EscapeUtf8InRtf, CharactersBeyondAsciiBecomeUnicodeEscapes)
{
    EXPECT_EQ(escape_utf8_in_rtf("{\\rtf1\\ansi\\ansicpg65001 \\f0 \xCE\xBC e\xCC\x81 \xC5\x99 \xF0\x9F\x98\x80\\par}", 1250),
              "{\\rtf1\\ansi\\ansicpg1250 \\f0 \\u956? e\\u769? \\u345? \\u-10179?\\u-8704?\\par}");
}

TEST(EscapeUtf8InRtf, TheUtf8HeaderBecomesTheUsualOne)
{
    EXPECT_EQ(escape_utf8_in_rtf("{\\urtf\\deff0 \xC5\x99}", 1252), "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0 \\u345?}");
}

TEST(EscapeUtf8InRtf, AsciiRtfStaysAsItIsAndBrokenBytesAreReplaced)
{
    const std::string ascii = "{\\rtf1\\ansi\\ansicpg1252 {\\fonttbl{\\f0 Courier;}} x\\'e9\\par}";
    EXPECT_EQ(escape_utf8_in_rtf(ascii, 1250), ascii);
    EXPECT_EQ(escape_utf8_in_rtf("a\xFF" "b", 1252), "a\\u-3?b");
}
