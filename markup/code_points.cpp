#include "markup/code_points.h"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

constexpr bool in_ranges(char32_t c, const Range* begin, const Range* end)
{
    return std::any_of(begin, end, [c](const Range& range) { return c >= range.first && c <= range.last; });
}

constexpr Range WHITE_SPACE[] = {
    {0x0009, 0x000D}, {0x0020, 0x0020}, {0x0085, 0x0085}, {0x00A0, 0x00A0}, {0x1680, 0x1680},
    {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000},
};

// Punctuation, symbols and pictographs beyond ASCII, by whole blocks where
// a block holds nothing else.
constexpr Range NOT_WORD_BEYOND_ASCII[] = {
    {0x0080, 0x00BF},   // Latin-1 controls, punctuation and signs
    {0x00D7, 0x00D7},   {0x00F7, 0x00F7}, // multiplication and division
    {0x2000, 0x2BFF},   // general punctuation to miscellaneous symbols and arrows
    {0x3000, 0x303F},   // CJK punctuation
    {0xD800, 0xDFFF},   // lone surrogates
    {0xFE30, 0xFE4F},   // CJK compatibility forms
    {0xFFF0, 0xFFFF},   // replacement and other non-text characters, U+FFFD among them
    {0x1F000, 0x1FAFF}, // game pieces, emoji and other pictographs
};

constexpr bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// One sequence, surrogates taken as they come; {FFFD, 1} when broken.
CodePoint decode_one(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    const size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    constexpr CodePoint broken{REPLACEMENT_CHARACTER, 1};
    if (length == 0 || text.size() - at < length)
        return broken;
    char32_t value = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if (!is_continuation(byte(i)))
            return broken;
        value = value << 6 | (byte(i) & 0x3F);
    }
    constexpr char32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < SMALLEST[length] || value > 0x10FFFF)
        return broken;
    return {value, length};
}

constexpr bool is_high_surrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

constexpr bool is_low_surrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

CodePoint decode_code_point(std::string_view text, size_t at)
{
    const CodePoint first = decode_one(text, at);
    if (!is_high_surrogate(first.value) || at + first.length >= text.size())
        return first;
    const CodePoint second = decode_one(text, at + first.length);
    if (!is_low_surrogate(second.value))
        return first;
    const char32_t joined = 0x10000 + ((first.value - 0xD800) << 10) + (second.value - 0xDC00);
    return {joined, first.length + second.length};
}

size_t line_break_length(std::string_view text, size_t at)
{
    if (text[at] == '\n')
        return 1;
    if (text[at] != '\r')
        return 0;
    return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

bool is_white_space(char32_t c)
{
    if (c < 0x80)
        return c == ' ' || (c >= 0x09 && c <= 0x0D);
    return in_ranges(c, std::begin(WHITE_SPACE), std::end(WHITE_SPACE));
}

bool is_word_character(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return !in_ranges(c, std::begin(NOT_WORD_BEYOND_ASCII), std::end(NOT_WORD_BEYOND_ASCII));
}
