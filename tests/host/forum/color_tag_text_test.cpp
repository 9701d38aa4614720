#include "text/forum/color_tag_text.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(ColorHexDigits, RedGreenBlueFromLowToHighByte)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {0x0000FF, "FF0000"}, // pure red
        {0xFF0000, "0000FF"}, // pure blue
        {0xFF000A, "0A00FF"}, // leading zero
        {0x000000, "000000"},
        {0xFFFFFF, "FFFFFF"},
        {0x00ABCDEF, "EFCDAB"},
        {0x02123456, "563412"}, // the top byte is not a colour
    };
    for (const auto& [color, digits] : cases)
        EXPECT_EQ(color_hex_digits(color), digits) << std::hex << color;
}

TEST(ColorHexDigits, EveryByteOfEveryChannelAsTwoUpperCaseDigits)
{
    for (uint32_t value = 0; value < 256; ++value) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", value);
        EXPECT_EQ(color_hex_digits(value), std::string(hex) + "0000");
        EXPECT_EQ(color_hex_digits(value << 8), "00" + std::string(hex) + "00");
        EXPECT_EQ(color_hex_digits(value << 16), "0000" + std::string(hex));
    }
}

TEST(ColorTagText, WrapsTheSelectionAfterTheDigits)
{
    EXPECT_EQ(color_tag_text("[color=#", 0x0000FF, "word", "[/color]"), "[color=#FF0000] word[/color]");
    EXPECT_EQ(color_tag_text("[color=#", 0xFF0000, "a\r\nb", "[/color]"), "[color=#0000FF] a\r\nb[/color]");
}

TEST(ColorTagText, EmptySelectionGivesTwentyFourCharacters)
{
    const std::string text = color_tag_text("[color=#", 0x123456, "", "[/color]");
    EXPECT_EQ(text, "[color=#563412] [/color]");
    EXPECT_EQ(text.size(), 24u);
}

TEST(ColorTagText, TagsALongSelectionWhole)
{
    std::string selected;
    for (int i = 0; i < 5000; ++i)
        selected += static_cast<char>(1 + i % 255);
    EXPECT_EQ(color_tag_text("[color=#", 0xFF000A, selected, "[/color]"), "[color=#0A00FF] " + selected + "[/color]");
}

} // namespace
