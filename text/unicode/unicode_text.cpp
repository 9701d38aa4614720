#include "text/unicode/unicode_text.h"

#include "text/unicode/utf8_reading.h"

using namespace utf8_reading;

namespace {

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

std::size_t slice_end(std::u16string_view text, std::size_t from, std::size_t most)
{
    if (text.size() - from <= most)
        return text.size();
    std::size_t end = from + most;
    if ((is_high_surrogate(text[end - 1]) && is_low_surrogate(text[end])) ||
        (text[end - 1] == u'\r' && text[end] == u'\n'))
        --end;
    return end;
}
