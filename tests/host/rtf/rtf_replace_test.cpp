#include "text/rtf/rtf_replace.h"
#include "text/rtf/rtf_round_trip.h"
#include "text/commands/find_text.h"
#include "rtf_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rtf_runs::HEADER;

struct Case {
    const char* what;
    std::string body;      // the RTF after the header
    std::u16string text;   // what it holds
    std::u16string pattern;
    std::u16string replacement;
    std::optional<std::string> expected; // the body afterwards; nothing: refused
};

std::optional<std::string> replaced(const Case& c)
{
    const std::vector<std::size_t> starts = find_all_matches(c.text, {c.pattern, false}, 0, c.text.size());
    return replace_in_rtf(std::string(HEADER) + c.body + "}", c.text, {starts, c.pattern.size(), c.replacement});
}

TEST(ReplaceInRtf, KeepsEveryFormatAndGivesEachReplacementItsMatchsFirstFormat)
{
    const Case cases[] = {
        {"plain", "a k\\u367?\\u328? b", u"a kůň b", u"kůň", u"pes", "a pes b"},
        {"in a bold run", "a \\b k\\u367?\\u328?\\b0  b", u"a kůň b", u"kůň", u"pes", "a \\b pes\\b0  b"},
        {"across a change of format: the first character's, and the change stays", "a \\b k\\b0 \\u367?\\u328? b",
         u"a kůň b", u"kůň", u"pes", "a \\b pes\\b0  b"},
        {"after a control word without its space", "a\\b\\u367?x", u"aůx", u"ů", u"1", "a\\b 1x"},
        {"braces, backslashes, tabs and letters beyond ASCII escaped", "x", u"x", u"x", u"{\\}\třé",
         "\\{\\\\\\}\\tab \\u345?\\u233?"},
        {"nothing in place of each", "aXbXc", u"aXbXc", u"X", u"", "abc"},
        {"matches side by side", "aaaa", u"aaaa", u"aa", u"b", "bb"},
        {"across paragraphs", "ab\\par\r\nab", u"ab\r\nab", u"b", u"c", "ac\\par\r\nac"},
        {"a paragraph break as one unit", "ab\\par\r\nab", u"ab\nab", u"b", u"c", "ac\\par\r\nac"},
        {"tab, dashes and symbols are characters", "\\tab\\emdash\\~x", u"\t\u2014\u00A0x", u"x", u"y",
         "\\tab\\emdash\\~y"},
        {"a surrogate pair", "a\\u-10179?\\u-8704?b", u"a😀b", u"😀", u"-", "a-b"},
        {"braces written as text", "\\{x\\}", u"{x}", u"{x}", u"y", "y"},
        {"groups of formats", "{\\b x}x", u"xx", u"x", u"y", "{\\b y}y"},
        // Refused: the caller replaces another way.
        {"a text that is not the RTF's", "abc", u"abd", u"b", u"x", std::nullopt},
        {"a picture", "a{\\*\\shppict{\\pict 00}}b", u"a\uFFFCb", u"b", u"x", std::nullopt},
        {"the code page's characters", "\\'e8x", u"čx", u"x", u"y", std::nullopt},
        {"a table", "x\\cell ", u"x\t", u"x", u"y", std::nullopt},
        {"a line break put in", "x", u"x", u"x", u"a\r\nb", std::nullopt},
        {"paragraphs joined", "a\\par\r\nb", u"a\r\nb", u"a\r\nb", u"x", std::nullopt},
        {"no fallback for readers without Unicode", "\\uc0 x", u"x", u"x", u"ř", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = replaced(c);
        ASSERT_EQ(result.has_value(), c.expected.has_value());
        if (result)
            EXPECT_EQ(*result, std::string(HEADER) + *c.expected + "}");
    }
}

TEST(RtfRoundTrip, SingleLineSpacingGoesAndNothingElse)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"\\pard\\sl-240\\slmult1 \\cf1 a\\par", "\\pard \\cf1 a\\par"},
        {"\\pard\\sl-240\\slmult1 k", "\\pard k"},
        {"\\pard\\sl-240\\slmult1\\qc a", "\\pard\\qc a"},
        {"\\pard\\sl-360\\slmult1 a", "\\pard\\sl-360\\slmult1 a"}, // one and a half
        {"\\pard\\sl-240\\slmult0 a", "\\pard\\sl-240\\slmult0 a"}, // exactly 12 points
        {"\\\\sl-240\\\\slmult1", "\\\\sl-240\\\\slmult1"},      // the text's own backslashes
        {"a\\sl-240\\slmult1", "a"},
    };
    for (const auto& [rtf, expected] : cases)
        EXPECT_EQ(without_single_line_spacing(rtf), expected) << rtf;
}

} // namespace
