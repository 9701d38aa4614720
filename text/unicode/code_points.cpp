#include "text/unicode/code_points.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "text/unicode/unicode_text.h"

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

} // namespace

CodePoint decode_code_point(std::string_view text, size_t at)
{
    // The same characters as the rest of the program counts: a pair split
    // into two surrogate sequences is one, an invalid stretch is one U+FFFD.
    const size_t end = next_character(text, at);
    const std::u16string units = utf8_to_utf16(text.substr(at, end - at));
    char32_t value = units.empty() ? REPLACEMENT_CHARACTER : units[0];
    if (units.size() == 2 && is_high_surrogate(value))
        value = paired_code_point(value, units[1]);
    return {value, end - at};
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
