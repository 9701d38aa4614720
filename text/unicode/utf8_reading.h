// How the Unicode functions read UTF-8 and WTF-8: one sequence or one
// character at a time, with the fast paths for ASCII and for sequences whose
// lead byte alone says how long they are. Shared by the conversions
// (unicode_text.cpp) and the counts and positions (utf8_positions.cpp);
// the rest of the program uses text/unicode/unicode_text.h. Pure text: no Windows
// headers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/unicode/unicode_units.h"

namespace utf8_reading {

// U+FFFD (REPLACEMENT_CHARACTER) in UTF-8.
inline constexpr std::string_view REPLACEMENT_UTF8 = "\xEF\xBF\xBD";

// Whether a surrogate's own three bytes are a well-formed sequence: they are
// in the program's text (WTF-8), never in strict UTF-8.
enum class Surrogates { invalid, accepted };

struct Sequence {
    char32_t code_point; // REPLACEMENT_CHARACTER when not well formed
    std::size_t length;  // of the well-formed sequence, or of the invalid subpart
    bool well_formed;
};

constexpr bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

inline unsigned char byte_at(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

// Whether the eight bytes from `at` are all ASCII: most posts are mostly
// ASCII, and it is skipped a word at a time.
inline bool is_ascii_word(std::string_view text, std::size_t at)
{
    constexpr std::uint64_t HIGH_BITS = 0x8080808080808080;
    std::uint64_t word;
    if (at + 8 > text.size())
        return false;
    std::memcpy(&word, text.data() + at, 8);
    return (word & HIGH_BITS) == 0;
}

// The lengths of the sequences whose lead byte alone says how long they are
// and whose other bytes may be anything from 80 to BF. Not E0, ED, F0 and
// F4, whose second byte has a narrower range: those, invalid leads and
// continuation bytes are 0.
inline constexpr auto PLAIN_LEAD_LENGTHS = [] {
    std::array<unsigned char, 256> lengths{};
    for (int byte = 0x00; byte <= 0x7F; ++byte)
        lengths[byte] = 1;
    for (int byte = 0xC2; byte <= 0xDF; ++byte)
        lengths[byte] = 2;
    for (int byte = 0xE1; byte <= 0xEF; ++byte)
        lengths[byte] = byte == 0xED ? 0 : 3;
    for (int byte = 0xF1; byte <= 0xF3; ++byte)
        lengths[byte] = 4;
    return lengths;
}();

// The length of a well-formed sequence at `at` of the plain kind, else 0
// (then decode_sequence must look). Takes no branch that depends on the
// text: letters of one and of two bytes alternate at random in Czech, and
// mispredicted branches would cost more than the decoding.
inline std::size_t plain_sequence_length(std::string_view text, std::size_t at)
{
    // The continuation bytes' top bits for each length, in a little-endian
    // word of the sequence's first four bytes.
    constexpr std::uint32_t MASKS[] = {0, 0, 0xC000, 0xC0C000, 0xC0C0C000};
    constexpr std::uint32_t CONTINUATIONS[] = {0, 0, 0x8000, 0x808000, 0x80808000};
    if (at + 4 > text.size())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + i])); };
    const std::uint32_t word = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    const std::size_t length = PLAIN_LEAD_LENGTHS[byte(0)];
    return (word & MASKS[length]) == CONTINUATIONS[length] ? length : 0;
}

// What a lead byte promises: the length of its sequence and the range of the
// second byte, narrower than 80..BF where that rules out overlong forms,
// surrogates and code points beyond U+10FFFF. Length 0: no sequence starts
// with this byte (a continuation byte, C0, C1, F5..FF).
struct LeadByte {
    std::size_t length;
    unsigned char second_min;
    unsigned char second_max;
};

constexpr LeadByte lead_byte(unsigned char byte, Surrogates surrogates)
{
    if (byte < 0xC2)
        return {0, 0, 0};
    if (byte < 0xE0)
        return {2, 0x80, 0xBF};
    if (byte == 0xE0)
        return {3, 0xA0, 0xBF};
    if (byte == 0xED) // A0..BF would be a surrogate
        return surrogates == Surrogates::accepted ? LeadByte{3, 0x80, 0xBF} : LeadByte{3, 0x80, 0x9F};
    if (byte < 0xF0)
        return {3, 0x80, 0xBF};
    if (byte == 0xF0)
        return {4, 0x90, 0xBF};
    if (byte < 0xF4)
        return {4, 0x80, 0xBF};
    if (byte == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// The sequence that starts at byte `at`; an invalid one ends at the first
// byte that cannot continue it, which makes it a maximal subpart.
inline Sequence decode_sequence(std::string_view text, std::size_t at, Surrogates surrogates)
{
    const unsigned char lead = byte_at(text, at);
    if (lead < 0x80)
        return {lead, 1, true};
    // Two-byte letters are most of what is not ASCII in the posts: at once.
    if (lead >= 0xC2 && lead <= 0xDF && at + 1 < text.size() && is_continuation(byte_at(text, at + 1)))
        return {static_cast<char32_t>((lead & 0x1F) << 6 | (byte_at(text, at + 1) & 0x3F)), 2, true};
    const LeadByte form = lead_byte(lead, surrogates);
    if (form.length == 0)
        return {REPLACEMENT_CHARACTER, 1, false};
    char32_t code_point = lead & (0x7F >> form.length);
    for (std::size_t i = 1; i < form.length; ++i) {
        if (at + i >= text.size())
            return {REPLACEMENT_CHARACTER, i, false};
        const unsigned char byte = byte_at(text, at + i);
        const unsigned char min = i == 1 ? form.second_min : 0x80;
        const unsigned char max = i == 1 ? form.second_max : 0xBF;
        if (byte < min || byte > max)
            return {REPLACEMENT_CHARACTER, i, false};
        code_point = code_point << 6 | (byte & 0x3F);
    }
    return {code_point, form.length, true};
}

// The character of the program's text that starts at byte `at`: one
// sequence, or a lead and a trail surrogate's sequences that pair.
inline Sequence decode_character(std::string_view text, std::size_t at)
{
    const Sequence first = decode_sequence(text, at, Surrogates::accepted);
    if (!is_high_surrogate(first.code_point) || at + 3 >= text.size())
        return first;
    const Sequence second = decode_sequence(text, at + 3, Surrogates::accepted);
    if (!is_low_surrogate(second.code_point))
        return first;
    return {paired_code_point(first.code_point, second.code_point), 6, true};
}

// The end of the plain sequences from `at` on: where one that needs a
// closer look starts, or the end.
inline std::size_t plain_run_end(std::string_view text, std::size_t at)
{
    for (;;) {
        if (is_ascii_word(text, at)) {
            at += 8;
            continue;
        }
        const std::size_t length = plain_sequence_length(text, at);
        if (length == 0)
            return at;
        at += length;
    }
}

} // namespace utf8_reading
