#include "text/unicode/unicode_text.h"

#include <algorithm>

#include "text/unicode/utf8_reading.h"

using namespace utf8_reading;

namespace {

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
