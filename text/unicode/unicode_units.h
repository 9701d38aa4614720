// The code points that Unicode text is built from and stands in with: the
// UTF-16 surrogates and U+FFFD. text/unicode/unicode_text.h brings them along.
// Pure text: no Windows headers.
#pragma once

// U+FFFD, given for each stretch of bytes that is no well-formed sequence.
inline constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// UTF-16 surrogates: a high (lead) unit and a low (trail) unit make one
// code point beyond U+FFFF; either alone is a lone surrogate.
constexpr bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool is_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
constexpr char32_t paired_code_point(char32_t high, char32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
constexpr char16_t high_surrogate_of(char32_t code_point)
{
    return static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10));
}
constexpr char16_t low_surrogate_of(char32_t code_point)
{
    return static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF));
}
