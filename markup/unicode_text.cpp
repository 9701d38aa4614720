#include "markup/unicode_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view REPLACEMENT_UTF8 = "\xEF\xBF\xBD";

// Whether a surrogate's own three bytes are a well-formed sequence: they are
// in the program's text (WTF-8), never in strict UTF-8.
enum class Surrogates { invalid, accepted };

struct Sequence {
    char32_t code_point; // REPLACEMENT_CHARACTER when not well formed
    std::size_t length;  // of the well-formed sequence, or of the invalid subpart
    bool well_formed;
};

constexpr bool is_lead_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool is_trail_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool is_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
constexpr bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

constexpr char32_t paired_code_point(char32_t lead, char32_t trail)
{
    return 0x10000 + ((lead - 0xD800) << 10) + (trail - 0xDC00);
}

unsigned char byte_at(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

// The end of the run of ASCII bytes that starts at `at`. Eight bytes at a
// time: most posts are mostly ASCII.
std::size_t ascii_run_end(std::string_view text, std::size_t at)
{
    constexpr std::uint64_t HIGH_BITS = 0x8080808080808080;
    while (at + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        if (word & HIGH_BITS)
            break;
        at += 8;
    }
    while (at < text.size() && byte_at(text, at) < 0x80)
        ++at;
    return at;
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
Sequence decode_character(std::string_view text, std::size_t at)
{
    const Sequence first = decode_sequence(text, at, Surrogates::accepted);
    if (!is_lead_surrogate(first.code_point) || at + 3 >= text.size())
        return first;
    const Sequence second = decode_sequence(text, at + 3, Surrogates::accepted);
    if (!is_trail_surrogate(second.code_point))
        return first;
    return {paired_code_point(first.code_point, second.code_point), 6, true};
}


// A code point's UTF-8 bytes; a surrogate gets its own three.
void append_utf8(std::string& utf8, char32_t code_point)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (code_point < 0x80) {
        utf8 += byte(code_point);
    } else if (code_point < 0x800) {
        const char bytes[] = {byte(0xC0 | code_point >> 6), byte(0x80 | (code_point & 0x3F))};
        utf8.append(bytes, 2);
    } else if (code_point < 0x10000) {
        const char bytes[] = {byte(0xE0 | code_point >> 12), byte(0x80 | (code_point >> 6 & 0x3F)),
                              byte(0x80 | (code_point & 0x3F))};
        utf8.append(bytes, 3);
    } else {
        const char bytes[] = {byte(0xF0 | code_point >> 18), byte(0x80 | (code_point >> 12 & 0x3F)),
                              byte(0x80 | (code_point >> 6 & 0x3F)), byte(0x80 | (code_point & 0x3F))};
        utf8.append(bytes, 4);
    }
}

std::size_t utf16_units(char32_t code_point)
{
    return code_point < 0x10000 ? 1 : 2;
}

} // namespace

std::string utf16_to_utf8(std::u16string_view utf16)
{
    std::string utf8;
    utf8.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code_point = utf16[i];
        if (is_lead_surrogate(code_point) && i + 1 < utf16.size() && is_trail_surrogate(utf16[i + 1]))
            code_point = paired_code_point(code_point, utf16[++i]);
        append_utf8(utf8, code_point);
    }
    return utf8;
}

std::u16string utf8_to_utf16(std::string_view utf8)
{
    std::u16string utf16;
    utf16.reserve(utf8.size()); // never more units than bytes
    for (std::size_t at = 0; at < utf8.size();) {
        // Surrogates come out one unit each, so two that pair in the text
        // pair here as well.
        const Sequence sequence = decode_sequence(utf8, at, Surrogates::accepted);
        const char32_t code_point = sequence.code_point;
        if (code_point < 0x10000) {
            utf16 += static_cast<char16_t>(code_point);
        } else {
            utf16 += static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10));
            utf16 += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
        }
        at += sequence.length;
    }
    return utf16;
}

bool is_valid_utf8(std::string_view bytes)
{
    for (std::size_t at = ascii_run_end(bytes, 0); at < bytes.size(); at = ascii_run_end(bytes, at)) {
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
    for (std::size_t at = ascii_run_end(bytes, 0); at < bytes.size(); at = ascii_run_end(bytes, at)) {
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
    for (std::size_t at = ascii_run_end(utf8, 0); at < utf8.size(); at = ascii_run_end(utf8, at)) {
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
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t ascii_end = ascii_run_end(utf8, at);
        count += ascii_end - at;
        at = ascii_end;
        if (at < utf8.size()) {
            at += decode_character(utf8, at).length;
            ++count;
        }
    }
    return count;
}

std::size_t utf16_length(std::string_view utf8)
{
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t ascii_end = ascii_run_end(utf8, at);
        units += ascii_end - at;
        at = ascii_end;
        if (at < utf8.size()) {
            const Sequence sequence = decode_sequence(utf8, at, Surrogates::accepted);
            units += utf16_units(sequence.code_point);
            at += sequence.length;
        }
    }
    return units;
}

std::size_t utf8_offset_of_utf16(std::string_view utf8, std::size_t utf16_offset)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const Sequence character = decode_character(utf8, at);
        units += utf16_units(character.code_point);
        if (units > utf16_offset)
            return at;
        at += character.length;
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
    if (start >= 3 && is_trail_surrogate(decode_sequence(utf8, start, Surrogates::accepted).code_point) &&
        is_lead_surrogate(decode_sequence(utf8, start - 3, Surrogates::accepted).code_point))
        return start - 3;
    return start;
}

std::size_t skip_code_points(std::string_view utf8, std::size_t from, std::size_t count)
{
    std::size_t at = from;
    while (count > 0 && at < utf8.size()) {
        if (byte_at(utf8, at) < 0x80) {
            // A run of ASCII in one step, looking no further than the count
            // reaches: callers skip short stretches of long texts.
            const std::size_t reach = at + std::min(count, utf8.size() - at);
            const std::size_t ascii_end = ascii_run_end(utf8.substr(0, reach), at);
            count -= ascii_end - at;
            at = ascii_end;
        } else {
            at = next_character(utf8, at);
            --count;
        }
    }
    return at;
}
