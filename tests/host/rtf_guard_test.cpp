#include "document/file_sniff.h"
#include "text_generators.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

} // namespace
