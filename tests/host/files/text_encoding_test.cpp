#include "text/files/text_encoding.h"

#include <gtest/gtest.h>

namespace {

// "Kůň", a line break and an emoji, as each encoding writes it.
const std::string TEXT = "K\xC5\xAF\xC5\x88\r\n\xF0\x9F\x98\x80";
const std::string UTF16LE("\xFF\xFE" "K\0\x6F\x01\x48\x01\r\0\n\0\x3D\xD8\x00\xDE", 16);
const std::string UTF16BE("\xFE\xFF" "\0K\x01\x6F\x01\x48\0\r\0\n\xD8\x3D\xDE\x00", 16);

TEST(TextEncoding, DetectsByMarkThenByContent)
{
    const std::pair<std::string, TextEncoding> cases[] = {
        {"\xEF\xBB\xBF" "plain", TextEncoding::utf8_bom},
        {UTF16LE, TextEncoding::utf16le_bom},
        {UTF16BE, TextEncoding::utf16be_bom},
        {TEXT, TextEncoding::utf8},
        {"plain ASCII\r\n", TextEncoding::ansi},
        {"", TextEncoding::ansi},
        {"\x8Eluou\xE8k\xFD", TextEncoding::ansi},     // "žluťoučký" in code page 1250
        {"lone \xED\xA0\x80", TextEncoding::ansi},      // a surrogate's bytes are not UTF-8
    };
    for (const auto& [bytes, encoding] : cases)
        EXPECT_EQ(detect_text_encoding(bytes), encoding) << testing::PrintToString(bytes);
}

TEST(TextEncoding, EveryEncodingReadsAndWritesTheSameText)
{
    const std::pair<std::string, TextEncoding> files[] = {
        {TEXT, TextEncoding::utf8},
        {"\xEF\xBB\xBF" + TEXT, TextEncoding::utf8_bom},
        {UTF16LE, TextEncoding::utf16le_bom},
        {UTF16BE, TextEncoding::utf16be_bom},
    };
    for (const auto& [bytes, encoding] : files) {
        SCOPED_TRACE(static_cast<int>(encoding));
        const DecodedText decoded = decode_text(bytes, encoding);
        EXPECT_EQ(decoded.text, TEXT);
        EXPECT_EQ(decoded.replacements, 0u);
        EXPECT_EQ(encode_text(TEXT, encoding), bytes);
    }
}

TEST(TextEncoding, InvalidUtf8AfterTheMarkIsReplacedAndCounted)
{
    const DecodedText decoded = decode_text("\xEF\xBB\xBF" "a\xFF" "b\xE2\x82", TextEncoding::utf8_bom);
    EXPECT_EQ(decoded.text, "a\uFFFDb\uFFFD");
    EXPECT_EQ(decoded.replacements, 2u);
}

TEST(TextEncoding, Utf16KeepsLoneSurrogatesAndReplacesOnlyAnOddByte)
{
    const std::string bytes("\xFF\xFE\x00\xD8" "a\0" "z", 7);
    const DecodedText decoded = decode_text(bytes, TextEncoding::utf16le_bom);
    EXPECT_EQ(decoded.text, "\xED\xA0\x80" "a\uFFFD");
    EXPECT_EQ(decoded.replacements, 1u);
    EXPECT_EQ(encode_text("\xED\xA0\x80" "a", TextEncoding::utf16le_bom), bytes.substr(0, 6));
}

TEST(TextEncoding, Utf8FilesGetNoSurrogateBytes)
{
    EXPECT_EQ(encode_text("a\xED\xA0\x80", TextEncoding::utf8), "a\uFFFD");
    EXPECT_EQ(encode_text("\xED\xA0\xBD\xED\xB8\x80", TextEncoding::utf8_bom), "\xEF\xBB\xBF\U0001F600");
}

} // namespace
