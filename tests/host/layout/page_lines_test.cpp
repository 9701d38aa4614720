#include "text/layout/page_lines.h"

#include <gtest/gtest.h>

namespace {

// One unit per byte, as a fixed-pitch font would measure.
int byte_width(std::string_view text)
{
    return static_cast<int>(text.size());
}

using Lines = std::vector<std::string>;

} // namespace

TEST(BreakIntoLines, BreaksWhereTheTextDoesAndWhereTheLineIsFull)
{
    struct Case {
        const char* name;
        std::string text;
        int width;
        Lines lines;
    };
    const Case cases[] = {
        {"empty text is one empty line", "", 10, {""}},
        {"CR LF, LF and CR all break", "a\r\nb\nc\rd", 10, {"a", "b", "c", "d"}},
        {"a final break adds no line", "a\r\nb\r\n", 10, {"a", "b"}},
        {"empty paragraphs stay", "a\r\n\r\n\nb", 10, {"a", "", "", "b"}},
        {"breaks after the last word that fits", "one two three four", 9, {"one two", "three", "four"}},
        {"a word that fills the line exactly", "abcde fgh", 5, {"abcde", "fgh"}},
        {"blanks at a break are dropped", "one    two", 5, {"one", "two"}},
        {"a word longer than the line is cut", "abcdefghijkl xy", 5, {"abcde", "fghij", "kl xy"}},
        {"indentation is kept on the first line", "   indented text", 11, {"   indented", "text"}},
        {"indentation wider than the line", "      word", 4, {"", "word"}},
        {"a tab reaches the next eighth column", "a\tb", 20, {"a       b"}},
        {"zero width still makes progress", "abc", 0, {"a", "b", "c"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(break_into_lines(test.text, test.width, byte_width), test.lines);
    }
}

TEST(BreakIntoLines, KeepsEveryWordInOrderInALongParagraph)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "word" + std::to_string(i) + " ";
    int measured = 0;
    auto counting_width = [&](std::string_view piece) {
        measured += static_cast<int>(piece.size());
        return byte_width(piece);
    };
    const Lines lines = break_into_lines(text, 80, counting_width);

    std::string joined;
    for (const auto& line : lines) {
        EXPECT_LE(line.size(), 80u);
        joined += line + " ";
    }
    EXPECT_EQ(joined, text);
    // Each line is measured a few times over, never the whole paragraph.
    EXPECT_LT(measured, static_cast<int>(text.size()) * 40);
}

TEST(BreakIntoLines, AWordCutForWidthIsCutBetweenCharacters)
{
    // Each character as wide as its bytes: "ř" is two, the emoji four.
    const std::string word = "\xC5\x99\xC5\x99\xC5\x99\xF0\x9F\x98\x80\xC5\x99";
    const Lines lines = break_into_lines(word, 5, byte_width);
    EXPECT_EQ(lines, (Lines{"\xC5\x99\xC5\x99", "\xC5\x99", "\xF0\x9F\x98\x80", "\xC5\x99"}));
    // A character wider than the line still makes a line of its own.
    EXPECT_EQ(break_into_lines("\xF0\x9F\x98\x80", 2, byte_width), (Lines{"\xF0\x9F\x98\x80"}));
}
