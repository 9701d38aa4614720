#include "text/files/file_sniff.h"
#include "text/rtf/rtf_prescan.h"
#include "rtf_reference.h"
#include "tests/common/malformed_rtf.h"
#include "text_generators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

std::string open_groups(int count) { return std::string(static_cast<std::size_t>(count), '{'); }

// ---- file_sniff ----

TEST(BeginsAsRtf, WantsTheExactSignatureAtTheVeryStart)
{
    EXPECT_TRUE(begins_as_rtf("{\\rtf1\\ansi x}"));
    EXPECT_TRUE(begins_as_rtf("{\\rtf"));
    EXPECT_FALSE(begins_as_rtf("{\\rt"));
    EXPECT_FALSE(begins_as_rtf("{\\RTF1 x}"));
    EXPECT_FALSE(begins_as_rtf(" {\\rtf1 x}"));
    EXPECT_FALSE(begins_as_rtf("\xEF\xBB\xBF{\\rtf1 x}"));
    EXPECT_FALSE(begins_as_rtf(""));
}

TEST(LooksBinary, TextInAnyScriptOrCodePageIsText)
{
    EXPECT_FALSE(looks_binary(""));
    EXPECT_FALSE(looks_binary("[b]Dobr\xC3\xBD den[/b]\r\n\t\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 "
                              "\xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x80\f\x1B[0m\n"));
    EXPECT_FALSE(looks_binary("\x9Eluou\xE8k\xFD k\xF9\xF2 (Windows-1250)"));
    // Broken UTF-8 is not binary either: it may be a code page we do not know.
    EXPECT_FALSE(looks_binary("\xC3\x28 \xE2\x82 \xFF\xFE\xFD"));
}

TEST(LooksBinary, NulMakesBinaryUnlessAUtf16MarkComesFirst)
{
    EXPECT_TRUE(looks_binary(std::string("text\0more", 9)));
    EXPECT_FALSE(looks_binary(std::string("\xFF\xFE" "A\0h\0o\0j\0", 10)));
    EXPECT_FALSE(looks_binary(std::string("\xFE\xFF\0A\0h\0o\0j", 10)));
    EXPECT_TRUE(looks_binary(std::string("A\0h\0o\0j\0", 8)));
}

TEST(LooksBinary, StrayControlBytesCountAboveOneIn32)
{
    std::string sample(64, 'a');
    sample[10] = '\x01';
    sample[40] = '\x7F';
    EXPECT_FALSE(looks_binary(sample));
    sample[50] = '\x08';
    EXPECT_TRUE(looks_binary(sample));
    EXPECT_TRUE(looks_binary("\x02"));

    gen::Random random(5);
    EXPECT_TRUE(looks_binary(gen::random_bytes(random, 4096))); // no NUL in it
}

TEST(LooksBinary, ReadsOnlyTheLeadingSample)
{
    std::string text(BINARY_SAMPLE_BYTES, 'a');
    text += std::string(1000, '\x01');
    text += '\0';
    EXPECT_FALSE(looks_binary(text));
    text[BINARY_SAMPLE_BYTES - 1] = '\0';
    EXPECT_TRUE(looks_binary(text));
}

// ---- scan_rtf: nesting ----

struct NestingSetting {
    const char* name;
    std::string (*make)(int depth); // `depth` groups open at once, the outer counted
};

const NestingSetting NESTING_SETTINGS[] = {
    {"closed groups", [](int d) { return "{\\rtf1" + open_groups(d - 1) + "x" + std::string(d, '}'); }},
    {"never closed", [](int d) { return "{\\rtf1" + open_groups(d - 1) + "x"; }},
    {"before rtf1", [](int d) { return open_groups(d) + "\\rtf1 x" + std::string(d, '}'); }},
    {"in an ignored destination", [](int d) { return "{\\rtf1{\\*\\x" + open_groups(d - 2) + "y" + std::string(d, '}'); }},
    // Wine's control reads \bin data as RTF, so these braces are groups to it.
    {"in bin data", [](int d) { return "{\\rtf1{\\pict\\bin" + std::to_string(d - 2) + " " + open_groups(d - 2) + "}}"; }},
};

TEST(ScanRtf, TakesThe32GroupsThatTheControlSurvivesAndRefusesThe33rd)
{
    ASSERT_EQ(MAX_GROUP_DEPTH, 32);
    for (const NestingSetting& setting : NESTING_SETTINGS) {
        SCOPED_TRACE(setting.name);
        const std::string deepest_ok = setting.make(32);
        const RtfScan ok = scan_rtf(deepest_ok);
        EXPECT_EQ(ok.verdict, RtfVerdict::ok);
        EXPECT_EQ(ok.depth, 32);

        const std::string too_deep = setting.make(33);
        const RtfScan refused = scan_rtf(too_deep);
        EXPECT_EQ(refused.verdict, RtfVerdict::too_deep);
        EXPECT_EQ(refused.depth, 33);
        // The offset is the 33rd opening brace.
        ASSERT_LT(refused.offset, too_deep.size());
        EXPECT_EQ(too_deep[refused.offset], '{');
        EXPECT_EQ(std::count(too_deep.begin(), too_deep.begin() + static_cast<long>(refused.offset) + 1, '{'), 33);
    }
}

TEST(ScanRtf, NothingAfterTheOuterGroupIsRead)
{
    const std::string document = "{\\rtf1 x}";
    const RtfScan scan = scan_rtf(document + open_groups(100) + "\\bin99 ");
    EXPECT_EQ(scan.verdict, RtfVerdict::ok);
    EXPECT_EQ(scan.offset, document.size());
    EXPECT_EQ(scan.depth, 1);

    // Closing braces with no group open close nothing.
    EXPECT_EQ(scan_rtf("}}}" + open_groups(33)).verdict, RtfVerdict::too_deep);
}

TEST(ScanRtf, EscapedBracesAreNoGroups)
{
    EXPECT_EQ(scan_rtf("{\\rtf1" + std::string(80, '\\') + "{" + "}").verdict, RtfVerdict::ok);
    std::string escapes;
    for (int i = 0; i < 40; ++i)
        escapes += "\\{";
    EXPECT_EQ(scan_rtf("{\\rtf1" + escapes + "}").verdict, RtfVerdict::ok);
    // An escaped backslash escapes nothing after it.
    std::string backslashes;
    for (int i = 0; i < 33; ++i)
        backslashes += "\\\\{";
    EXPECT_EQ(scan_rtf(backslashes).verdict, RtfVerdict::too_deep);
}

TEST(ScanRtf, BinDataIsSkippedInTheFormatsReading)
{
    // The format's reading skips "}}}", keeps the picture open and goes too
    // deep; Wine's reading would have closed the document at the second "}".
    const std::string closes_skipped = "{\\rtf1{\\pict\\bin3 }}}" + open_groups(31);
    EXPECT_EQ(scan_rtf(closes_skipped).verdict, RtfVerdict::too_deep);

    // A backslash as the data escapes nothing: the "{" after it opens a group.
    const std::string backslash_data = "{\\rtf1" + open_groups(31) + "\\bin1 \\{";
    const RtfScan scan = scan_rtf(backslash_data);
    EXPECT_EQ(scan.verdict, RtfVerdict::too_deep);
    EXPECT_EQ(scan.offset, backslash_data.size() - 1);

    // The data starts right after the number when no space follows it.
    EXPECT_EQ(scan_rtf("{\\rtf1{\\pict\\bin2}}" + open_groups(31)).verdict, RtfVerdict::too_deep);
}

// ---- scan_rtf: \bin sizes ----

TEST(ScanRtf, BinUpToTheLimitAndUpToTheEndIsTaken)
{
    const std::string head = "{\\rtf1{\\pict\\bin" + std::to_string(MAX_BIN_BYTES) + " ";
    const std::string at_limit = head + std::string(MAX_BIN_BYTES, 'x') + "}}";
    EXPECT_EQ(scan_rtf(at_limit).verdict, RtfVerdict::ok);

    const std::string over = "{\\rtf1{\\pict\\bin" + std::to_string(MAX_BIN_BYTES + 1) + " " +
                             std::string(MAX_BIN_BYTES + 1, 'x') + "}}";
    const RtfScan refused = scan_rtf(over);
    EXPECT_EQ(refused.verdict, RtfVerdict::bin_too_large);
    EXPECT_EQ(over.substr(refused.offset, 4), "\\bin");

    // Data that reaches the very end of the file, and one byte short of it.
    EXPECT_EQ(scan_rtf("{\\rtf1 a\\bin5 abcde").verdict, RtfVerdict::ok);
    const RtfScan short_by_one = scan_rtf("{\\rtf1 a\\bin5 abcd");
    EXPECT_EQ(short_by_one.verdict, RtfVerdict::bin_truncated);
    EXPECT_EQ(short_by_one.offset, 8u);
}

TEST(ScanRtf, OddBinNumbers)
{
    // No number and negative numbers announce no data: the "}" closes.
    EXPECT_EQ(scan_rtf("{\\rtf1\\bin }" + open_groups(40)).offset, 12u);
    EXPECT_EQ(scan_rtf("{\\rtf1\\bin-5 }" + open_groups(40)).offset, 14u);
    // Leading zeros are no size, and a size too large for any integer is
    // still too large.
    EXPECT_EQ(scan_rtf("{\\rtf1\\bin00000000000000000000000000002 ab}").verdict, RtfVerdict::ok);
    EXPECT_EQ(scan_rtf("{\\rtf1\\bin" + std::string(40, '9') + " ab}").verdict, RtfVerdict::bin_too_large);
    EXPECT_EQ(scan_rtf("{\\rtf1\\bin18446744073709551617 ab}").verdict, RtfVerdict::bin_too_large);
}

TEST(ScanRtf, TruncatedAndUnbalancedDocumentsStayOk)
{
    for (const char* bytes : {"{\\rtf1{\\b x", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 \\", "{\\rtf1\\u-70000", "{\\rtf1 x}}}}",
                              "", "plain text"}) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(scan_rtf(bytes).verdict, RtfVerdict::ok);
    }
}

TEST(ScanRtf, ReportsPicturesAndObjectsOnlyAsControlWords)
{
    EXPECT_TRUE(scan_rtf("{\\rtf1 a{\\pict\\pngblip 8950}b}").has_pictures_or_objects);
    EXPECT_TRUE(scan_rtf("{\\rtf1{\\object\\objemb{\\*\\objdata 01}}}").has_pictures_or_objects);
    EXPECT_FALSE(scan_rtf("{\\rtf1 pict \\picw100 \\\\pict}").has_pictures_or_objects);
    EXPECT_FALSE(scan_rtf("{\\rtf1\\bin5 \\pict}").has_pictures_or_objects);
    EXPECT_FALSE(scan_rtf("{\\rtf1 x}{\\pict}").has_pictures_or_objects);
}

// ---- against the reference, on generated documents ----

void expect_same(const RtfScan& scan, const RtfScan& expected, const std::string& bytes)
{
    ASSERT_EQ(static_cast<int>(scan.verdict), static_cast<int>(expected.verdict)) << testing::PrintToString(bytes);
    ASSERT_EQ(scan.offset, expected.offset) << testing::PrintToString(bytes);
    ASSERT_EQ(scan.depth, expected.depth) << testing::PrintToString(bytes);
    ASSERT_EQ(scan.has_pictures_or_objects, expected.has_pictures_or_objects) << testing::PrintToString(bytes);
}

TEST(ScanRtf, MatchesTheReferenceOnEveryKindOfMalformedDocument)
{
    for (const malformed_rtf::Kind kind : malformed_rtf::ALL_KINDS) {
        SCOPED_TRACE(malformed_rtf::kind_name(kind));
        const std::uint64_t seeds = kind == malformed_rtf::Kind::bin_over_limit ? 3 : 300;
        for (std::uint64_t seed = 0; seed < seeds; ++seed) {
            const std::string bytes = malformed_rtf::make(kind, seed);
            const RtfScan scan = scan_rtf(bytes);
            ASSERT_LE(scan.offset, bytes.size());
            ASSERT_LE(scan.depth, MAX_GROUP_DEPTH + 1);
            expect_same(scan, reference::scan_rtf(bytes), bytes);
        }
    }
}

TEST(MalformedRtf, EachKindMakesWhatItSays)
{
    using malformed_rtf::Kind;
    const auto verdicts_of = [](Kind kind, std::uint64_t seeds) {
        std::set<RtfVerdict> verdicts;
        for (std::uint64_t seed = 0; seed < seeds; ++seed)
            verdicts.insert(scan_rtf(malformed_rtf::make(kind, seed)).verdict);
        return verdicts;
    };
    EXPECT_EQ(verdicts_of(Kind::nesting_near_limit, 100), (std::set{RtfVerdict::ok, RtfVerdict::too_deep}));
    EXPECT_EQ(verdicts_of(Kind::nesting_far_beyond, 50), std::set{RtfVerdict::too_deep});
    EXPECT_EQ(verdicts_of(Kind::bin_truncated, 50), std::set{RtfVerdict::bin_truncated});
    EXPECT_EQ(verdicts_of(Kind::bin_over_limit, 2), std::set{RtfVerdict::bin_too_large});
    EXPECT_TRUE(scan_rtf(malformed_rtf::make(Kind::pictures_and_objects, 1)).has_pictures_or_objects);

    EXPECT_EQ(malformed_rtf::make(Kind::mixture, 42), malformed_rtf::make(Kind::mixture, 42));
    EXPECT_NE(malformed_rtf::make(Kind::mixture, 42), malformed_rtf::make(Kind::mixture, 43));
    EXPECT_EQ(malformed_rtf::make_any(7), malformed_rtf::make_any(7));
}

} // namespace
