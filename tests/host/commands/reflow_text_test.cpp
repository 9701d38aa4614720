#include "text/commands/reflow_text.h"
#include "text/unicode/unicode_text.h"
#include "text_generators.h"
#include "text_oracles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string run(char c, size_t n) { return std::string(n, c); }

std::string run(std::string_view character, size_t n)
{
    std::string text;
    for (size_t i = 0; i < n; ++i)
        text += character;
    return text;
}

const std::string_view CZECH_C = "\u010D";     // two bytes
const std::string_view EMOJI = "\U0001F600";   // four bytes

struct ReflowCase {
    const char* name;
    std::string selection;
    std::string expected;
};

// Worked by hand from the rules, so that they check the oracle too.
const ReflowCase REFLOW_CASES[] = {
    {"empty", "", ""},
    {"exactly 80 with breaks stays", "one two\r\nthree\n" + run('x', 60) + " \r\n\n\r", "one two\r\nthree\n" + run('x', 60) + " \r\n\n\r"},
    {"81 counting CR LF is processed", run('a', 79) + "\r\n", run('a', 79)},
    {"leading LF keeps every LF", "\nA\r\nB" + run('z', 90), "\nA\nB" + run('z', 90)},
    {"leading CR keeps every CR", "\rA\r\nB\nC" + run('z', 90), "\rA\rBC" + run('z', 90)},
    {"every second LF of a run survives", "a\n\n\n\n\nb" + run('z', 90), "a\n\nb" + run('z', 90)},
    {"single line break joins words", "end\r\nnext" + run('z', 90), "endnext" + run('z', 90)},
    {"space before line break stays", "end \r\nnext" + run('z', 90), "end next" + run('z', 90)},
    {"two line breaks leave one CR", "a\r\n\r\nb" + run('z', 90), "a\rb" + run('z', 90)},
    {"three line breaks leave one CR", "a\r\n\r\n\r\nb" + run('z', 90), "a\rb" + run('z', 90)},
    {"four line breaks leave two CRs", "a\r\n\r\n\r\n\r\nb" + run('z', 90), "a\r\rb" + run('z', 90)},
    {"LF pass and CR pass interleave", "a\n\r\n\rb" + run('z', 90), "a\rb" + run('z', 90)},
    {"a CR LF pair can survive", "a\r\r\n\nb" + run('z', 90), "a\r\nb" + run('z', 90)},
    {"leading address turns off addresses", "http://a.b/c d http://e f" + run('z', 90), "http://a.b/c d http://e f" + run('z', 90)},
    {"address after url tag", "see [url]http://x.y/z[/url] " + run('m', 90), "see [url\nhttp://x.y/z[/url]\n" + run('m', 90)},
    {"address with no space after it", "see http://x.y/" + run('z', 90), "see\nhttp://x.y/" + run('z', 90)},
    {"joined address is passed over", "a http://x,http://y b http://z c" + run('p', 90), "a\nhttp://x,http://y\nb\nhttp://z\nc" + run('p', 90)},
    {"secure address stays in the flow", "see https://x.y/ z" + run('z', 90), "see https://x.y/ z" + run('z', 90)},
    {"space at 80 is the first break", run('a', 80) + " " + run('b', 10), run('a', 80) + "\n" + run('b', 10)},
    {"next break at least 80 on", run('a', 80) + " " + run('b', 78) + " " + run('c', 5) + " dd", run('a', 80) + "\n" + run('b', 78) + " " + run('c', 5) + "\ndd"},
    {"word across 80 is not split", run('a', 75) + " " + run('w', 20) + " x", run('a', 75) + " " + run('w', 20) + "\nx"},
    {"no space after 80, no break", run('a', 75) + " " + run('w', 30), run('a', 75) + " " + run('w', 30)},
    {"address line counts toward 80", "see http://" + run('u', 75) + " ab cd", "see\nhttp://" + run('u', 75) + "\nab\ncd"},
    {"left CR does not restart the count", run('a', 50) + "\r\n\r\n" + run('b', 29) + " " + run('c', 10), run('a', 50) + "\r" + run('b', 29) + "\n" + run('c', 10)},
    {"80 characters in more bytes stay", run(CZECH_C, 78) + "\r\n", run(CZECH_C, 78) + "\r\n"},
    {"81 characters are processed", run(EMOJI, 79) + "\r\n", run(EMOJI, 79)},
    {"width counts characters", run(CZECH_C, 79) + " " + run(EMOJI, 10) + " " + run(CZECH_C, 70) + " x",
     run(CZECH_C, 79) + " " + run(EMOJI, 10) + "\n" + run(CZECH_C, 70) + " x"},
    {"whole character before an address", "see" + std::string(EMOJI) + "http://x.y/ z" + run('z', 90), "see\nhttp://x.y/\nz" + run('z', 90)},
};

TEST(ReflowForForum, GivesTheHandWorkedResults)
{
    for (const ReflowCase& c : REFLOW_CASES) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reflow_for_forum(c.selection), c.expected);
        EXPECT_EQ(oracle::break_long_lines(c.selection), c.expected) << "the oracle disagrees";
    }
}

struct Generator {
    const char* name;
    std::function<std::string(gen::Random&)> make;
};

const Generator GENERATORS[] = {
    {"random bytes", [](gen::Random& r) { return gen::random_bytes(r, gen::below(r, 300)); }},
    {"words and breaks", [](gen::Random& r) { return gen::from_alphabet(r, "ab \r\n", 70 + gen::below(r, 300)); }},
    {"near addresses", [](gen::Random& r) {
         return gen::from_pieces(r, {"h", "t", "p", ":", "s", "http:", "htt", "ttp:", "http", "https:", " ", "\n", "\r"},
                                 70 + gen::below(r, 300));
     }},
    {"pieces", [](gen::Random& r) {
         return gen::from_pieces(r, {"http:", "http://a.b/c", " ", "\r\n", "\n", "\r", "word", "x", "  ", "\n\n\n", "\r\r", "[url]"},
                                 81 + gen::below(r, 600));
     }},
    {"runs of LF CR space", [](gen::Random& r) { return gen::with_runs(r, "\n\r ", 81 + gen::below(r, 600)); }},
    {"starts with a break", [](gen::Random& r) {
         return std::string(1, "\n\r "[gen::below(r, 3)]) + gen::with_runs(r, "\n\r ", 81 + gen::below(r, 300));
     }},
    {"around 80", [](gen::Random& r) { return gen::from_alphabet(r, "aaaa \n\r", 76 + gen::below(r, 10)); }},
    {"long lines", [](gen::Random& r) { return gen::from_alphabet(r, "abcdefghijklmnop \r\n", 200 + gen::below(r, 2000)); }},
    // Lone surrogates and halves that line breaks keep apart until deleted.
    {"from UTF-16", [](gen::Random& r) { return utf16_to_utf8(gen::utf16_units(r, 70 + gen::below(r, 300))); }},
};

TEST(ReflowForForum, MatchesOracleOnThousandsOfInputs)
{
    for (const Generator& generator : GENERATORS) {
        SCOPED_TRACE(generator.name);
        gen::Random random(20240611);
        for (int i = 0; i < 3000; ++i) {
            const std::string selection = generator.make(random);
            const std::string result = reflow_for_forum(selection);
            ASSERT_EQ(result, oracle::break_long_lines(selection)) << "input #" << i << ": " << testing::PrintToString(selection);
            ASSERT_LE(result.size(), selection.size());
        }
    }
}

// Letters that stand for multi-byte characters: a Czech letter, a Cyrillic
// one, an emoji, a combining accent on its own and a lone surrogate as the
// program keeps it. Each is one character, so it reflows as the letter does.
std::string widened(std::string_view narrow)
{
    std::string wide;
    for (const char c : narrow) {
        switch (c) {
        case 'a': wide += CZECH_C; break;
        case 'b': wide += "\u0416"; break;
        case 'c': wide += EMOJI; break;
        case 'd': wide += "\u0301"; break;
        case 'e': wide += "\xED\xA0\x80"; break;
        default: wide += c; break;
        }
    }
    return wide;
}

TEST(ReflowForForum, MultiByteCharactersReflowAsSingleBytesDo)
{
    for (const Generator& generator : GENERATORS) {
        if (generator.name == std::string_view("random bytes") || generator.name == std::string_view("from UTF-16"))
            continue;
        SCOPED_TRACE(generator.name);
        gen::Random random(1676166);
        for (int i = 0; i < 1000; ++i) {
            const std::string narrow = generator.make(random);
            ASSERT_EQ(reflow_for_forum(widened(narrow)), widened(reflow_for_forum(narrow)))
                << "input #" << i << ": " << testing::PrintToString(narrow);
        }
    }
}

TEST(ReflowForForum, TakesSelectionsBeyond64KiBWhole)
{
    gen::Random random(7);
    const std::string selection =
        gen::from_pieces(random, {"Some words ", "here\r\n", "\r\n\r\n", "http://forum.example.org/x ", "and more "}, 100'000);
    const std::string result = reflow_for_forum(selection);
    EXPECT_EQ(result, oracle::break_long_lines(selection));
    EXPECT_GT(result.size(), 65'536u);
}

} // namespace
