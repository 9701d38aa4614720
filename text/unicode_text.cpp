#include "text/unicode_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// U+FFFD, which stands for bytes that are not a character.
constexpr char32_t REPLACEMENT_CODE_POINT = 0xFFFD;
constexpr std::string_view REPLACEMENT_UTF8 = "\xEF\xBF\xBD";

// Whether a surrogate's own three bytes are a well-formed sequence: they are
// in the program's text (WTF-8), never in strict UTF-8.
enum class Surrogates { invalid, accepted };

struct Sequence {
    char32_t code_point; // REPLACEMENT_CODE_POINT when not well formed
    std::size_t length;  // of the well-formed sequence, or of the invalid subpart
    bool well_formed;
};

constexpr bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

unsigned char byte_at(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

// Whether the eight bytes from `at` are all ASCII: most posts are mostly
// ASCII, and it is skipped a word at a time.
bool is_ascii_word(std::string_view text, std::size_t at)
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
constexpr auto PLAIN_LEAD_LENGTHS = [] {
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
std::size_t plain_sequence_length(std::string_view text, std::size_t at)
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
Sequence decode_sequence(std::string_view text, std::size_t at, Surrogates surrogates)
{
    const unsigned char lead = byte_at(text, at);
    if (lead < 0x80)
        return {lead, 1, true};
    // Two-byte letters are most of what is not ASCII in the posts: at once.
    if (lead >= 0xC2 && lead <= 0xDF && at + 1 < text.size() && is_continuation(byte_at(text, at + 1)))
        return {static_cast<char32_t>((lead & 0x1F) << 6 | (byte_at(text, at + 1) & 0x3F)), 2, true};
    const LeadByte form = lead_byte(lead, surrogates);
    if (form.length == 0)
        return {REPLACEMENT_CODE_POINT, 1, false};
    char32_t code_point = lead & (0x7F >> form.length);
    for (std::size_t i = 1; i < form.length; ++i) {
        if (at + i >= text.size())
            return {REPLACEMENT_CODE_POINT, i, false};
        const unsigned char byte = byte_at(text, at + i);
        const unsigned char min = i == 1 ? form.second_min : 0x80;
        const unsigned char max = i == 1 ? form.second_max : 0xBF;
        if (byte < min || byte > max)
            return {REPLACEMENT_CODE_POINT, i, false};
        code_point = code_point << 6 | (byte & 0x3F);
    }
    return {code_point, form.length, true};
}

// The character of the program's text that starts at byte `at`: one
// sequence, or a lead and a trail surrogate's sequences that pair.
Sequence decode_character(std::string_view text, std::size_t at)
{
    const Sequence first = decode_sequence(text, at, Surrogates::accepted);
    if (!is_high_surrogate(first.code_point) || at + 3 >= text.size())
        return first;
    const Sequence second = decode_sequence(text, at + 3, Surrogates::accepted);
    if (!is_low_surrogate(second.code_point))
        return first;
    return {paired_code_point(first.code_point, second.code_point), 6, true};
}

std::size_t utf8_length(char32_t code_point)
{
    return code_point < 0x80 ? 1 : code_point < 0x800 ? 2 : code_point < 0x10000 ? 3 : 4;
}

// A code point's UTF-8 bytes (a surrogate gets its own three) at `out`;
// returns where they end.
char* encode_utf8(char* out, char32_t code_point)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    switch (utf8_length(code_point)) {
    case 1:
        *out++ = byte(code_point);
        break;
    case 2:
        *out++ = byte(0xC0 | code_point >> 6);
        *out++ = byte(0x80 | (code_point & 0x3F));
        break;
    case 3:
        *out++ = byte(0xE0 | code_point >> 12);
        *out++ = byte(0x80 | (code_point >> 6 & 0x3F));
        *out++ = byte(0x80 | (code_point & 0x3F));
        break;
    default:
        *out++ = byte(0xF0 | code_point >> 18);
        *out++ = byte(0x80 | (code_point >> 12 & 0x3F));
        *out++ = byte(0x80 | (code_point >> 6 & 0x3F));
        *out++ = byte(0x80 | (code_point & 0x3F));
        break;
    }
    return out;
}

void append_utf8(std::string& utf8, char32_t code_point)
{
    char bytes[4];
    utf8.append(bytes, encode_utf8(bytes, code_point));
}

// The code point of the UTF-16 unit at `i`, read together with the next one
// when the two pair; `i` moves to the last unit read.
char32_t read_utf16(std::u16string_view utf16, std::size_t& i)
{
    const char32_t unit = utf16[i];
    if (is_high_surrogate(unit) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1]))
        return paired_code_point(unit, utf16[++i]);
    return unit;
}

// The end of the plain sequences from `at` on: where one that needs a
// closer look starts, or the end.
std::size_t plain_run_end(std::string_view text, std::size_t at)
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

struct Skipped {
    std::size_t end;        // a byte offset
    std::size_t characters; // how many characters were skipped to get there
};

// Up to `count` characters from byte `from` on.
Skipped skip(std::string_view text, std::size_t from, std::size_t count)
{
    std::size_t at = from;
    std::size_t characters = 0;
    while (characters < count && at < text.size()) {
        if (is_ascii_word(text, at)) {
            const std::size_t ascii = std::min<std::size_t>(8, count - characters);
            at += ascii;
            characters += ascii;
            continue;
        }
        const std::size_t length = plain_sequence_length(text, at);
        at += length != 0 ? length : decode_character(text, at).length;
        ++characters;
    }
    return {at, characters};
}

} // namespace

std::string utf16_to_utf8(std::u16string_view utf16)
{
    // Measured first, so that the bytes go straight into place: three bytes
    // for every surrogate, less two for each pair, which takes four.
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf16.size(); ++i)
        length += 1 + (utf16[i] >= 0x80) + (utf16[i] >= 0x800);
    for (std::size_t i = 1; i < utf16.size(); ++i)
        length -= 2 * (is_high_surrogate(utf16[i - 1]) && is_low_surrogate(utf16[i]));
    std::string utf8(length, '\0');
    char* out = utf8.data();
    for (std::size_t i = 0; i < utf16.size(); ++i)
        out = encode_utf8(out, read_utf16(utf16, i));
    return utf8;
}

std::u16string utf8_to_utf16(std::string_view utf8)
{
    std::u16string utf16(utf8.size(), u'\0'); // never more units than bytes
    char16_t* out = utf16.data();
    for (std::size_t at = 0; at < utf8.size();) {
        // Surrogates come out one unit each, so two that pair in the text
        // pair here as well.
        const Sequence sequence = decode_sequence(utf8, at, Surrogates::accepted);
        const char32_t code_point = sequence.code_point;
        if (code_point < 0x10000) {
            *out++ = static_cast<char16_t>(code_point);
        } else {
            *out++ = high_surrogate_of(code_point);
            *out++ = low_surrogate_of(code_point);
        }
        at += sequence.length;
    }
    utf16.resize(static_cast<std::size_t>(out - utf16.data()));
    return utf16;
}

bool is_valid_utf8(std::string_view bytes)
{
    for (std::size_t at = plain_run_end(bytes, 0); at < bytes.size(); at = plain_run_end(bytes, at)) {
        const Sequence sequence = decode_sequence(bytes, at, Surrogates::invalid);
        if (!sequence.well_formed)
            return false;
        at += sequence.length;
    }
    return true;
}

std::string repair_utf8(std::string_view bytes, std::size_t& replacements)
{
    replacements = 0;
    std::string utf8;
    utf8.reserve(bytes.size());
    std::size_t kept = 0; // the start of the well-formed bytes not yet copied
    for (std::size_t at = plain_run_end(bytes, 0); at < bytes.size(); at = plain_run_end(bytes, at)) {
        const Sequence sequence = decode_sequence(bytes, at, Surrogates::invalid);
        if (!sequence.well_formed) {
            utf8.append(bytes.substr(kept, at - kept)).append(REPLACEMENT_UTF8);
            ++replacements;
            kept = at + sequence.length;
        }
        at += sequence.length;
    }
    return utf8.append(bytes.substr(kept));
}

std::string to_strict_utf8(std::string_view utf8)
{
    std::string strict;
    strict.reserve(utf8.size());
    std::size_t kept = 0; // the start of the strict bytes not yet copied
    for (std::size_t at = plain_run_end(utf8, 0); at < utf8.size(); at = plain_run_end(utf8, at)) {
        const Sequence character = decode_character(utf8, at);
        const bool lone_or_invalid = !character.well_formed || is_surrogate(character.code_point);
        if (lone_or_invalid || character.length == 6) {
            strict.append(utf8.substr(kept, at - kept));
            if (lone_or_invalid)
                strict.append(REPLACEMENT_UTF8);
            else
                append_utf8(strict, character.code_point);
            kept = at + character.length;
        }
        at += character.length;
    }
    return strict.append(utf8.substr(kept));
}

std::size_t count_code_points(std::string_view utf8)
{
    return skip(utf8, 0, utf8.size()).characters;
}

std::size_t utf16_length(std::string_view utf8)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        if (is_ascii_word(utf8, at)) {
            units += 8;
            at += 8;
            continue;
        }
        std::size_t length = plain_sequence_length(utf8, at);
        if (length == 0)
            length = decode_sequence(utf8, at, Surrogates::accepted).length;
        units += length == 4 ? 2 : 1; // the sequences beyond U+FFFF are the four-byte ones
        at += length;
    }
    return units;
}

std::size_t utf8_offset_of_utf16(std::string_view utf8, std::size_t utf16_offset)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t length = plain_sequence_length(utf8, at);
        if (length == 0)
            length = decode_character(utf8, at).length;
        units += length >= 4 ? 2 : 1; // four bytes, or two surrogates' six
        if (units > utf16_offset)
            return at;
        at += length;
    }
    return utf8.size();
}

std::size_t next_character(std::string_view utf8, std::size_t at)
{
    return at + decode_character(utf8, at).length;
}

std::size_t previous_character(std::string_view utf8, std::size_t at)
{
    // Every byte but a continuation byte starts a character, and no
    // sequence is longer than four bytes.
    const std::size_t stray = at - 1;
    const std::size_t earliest = at >= 4 ? at - 4 : 0;
    std::size_t start = stray;
    while (start > earliest && is_continuation(byte_at(utf8, start)))
        --start;
    if (is_continuation(byte_at(utf8, start)))
        return stray;
    if (start + decode_sequence(utf8, start, Surrogates::accepted).length <= stray)
        return stray; // a continuation byte that the sequence before did not take
    // A trail surrogate is half of one character with a lead just before it.
    if (start >= 3 && is_low_surrogate(decode_sequence(utf8, start, Surrogates::accepted).code_point) &&
        is_high_surrogate(decode_sequence(utf8, start - 3, Surrogates::accepted).code_point))
        return start - 3;
    return start;
}

std::size_t skip_code_points(std::string_view utf8, std::size_t from, std::size_t count)
{
    return skip(utf8, from, count).end;
}
