#include "markup/tag_text.h"

#include <gtest/gtest.h>

TEST(WrapText, JoinsOpenTextAndCloseWithNothingBetween)
{
    EXPECT_EQ(wrap_text("[b]", "abc", "[/b]"), "[b]abc[/b]");
    EXPECT_EQ(wrap_text("[img]x[/img] ", "", ""), "[img]x[/img] ");
    EXPECT_EQ(wrap_text("", "", ""), "");
}

TEST(WrapText, KeepsEmbeddedZerosAndLineBreaks)
{
    const std::string text("a\0b\r\n", 5);
    EXPECT_EQ(wrap_text("[code]\n", text, "\n[/code]"), "[code]\n" + text + "\n[/code]");
}
