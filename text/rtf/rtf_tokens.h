// The lexical rules of RTF that every reader of it in the program shares: a
// backslash and a non-letter is a control symbol; a backslash and letters is
// a control word, with an optional number (a "-" and digits, or digits) and
// an optional space after it, which belongs to the word. Pure text: no
// Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Numbers are kept up to here: far beyond any limit, and no overflow.
inline constexpr std::uint64_t RTF_NUMBER_CAP = 1'000'000'000'000'000'000;

constexpr bool is_rtf_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool is_rtf_digit(char c)
{
    return c >= '0' && c <= '9';
}

struct RtfControlWord {
    std::string_view name;
    bool negative = false;
    bool has_number = false;
    std::uint64_t number = 0; // 0 when there is none; at most RTF_NUMBER_CAP
    bool delimited = false;   // a space ends it, and belongs to it
    std::size_t end = 0;      // past the number and the space after it

    // The number as a signed value, as RTF's 16-bit \u and its kin read it.
    std::int64_t value() const
    {
        const auto magnitude = static_cast<std::int64_t>(number);
        return negative ? -magnitude : magnitude;
    }
};

// The control word whose backslash is at `start`; a letter follows it.
RtfControlWord read_rtf_control_word(std::string_view bytes, std::size_t start);
