// Deterministic text generators for the differential tests: every run sees
// the same inputs, so a failure can be replayed from its seed.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace gen {

using Random = std::mt19937; // its sequence is fixed by the standard

inline size_t below(Random& random, size_t n)
{
    return static_cast<size_t>(random() % n);
}

// Any bytes but NUL, which a selection never holds.
inline std::string random_bytes(Random& random, size_t length)
{
    std::string text(length, ' ');
    for (char& c : text)
        c = static_cast<char>(1 + below(random, 255));
    return text;
}

inline std::string from_alphabet(Random& random, std::string_view alphabet, size_t length)
{
    std::string text(length, ' ');
    for (char& c : text)
        c = alphabet[below(random, alphabet.size())];
    return text;
}

// Pieces joined at random until the text is at least `length` long.
inline std::string from_pieces(Random& random, const std::vector<std::string_view>& pieces, size_t length)
{
    std::string text;
    while (text.size() < length)
        text += pieces[below(random, pieces.size())];
    return text;
}

// Plain words with runs of one character (of random length) dropped in.
inline std::string with_runs(Random& random, std::string_view run_chars, size_t length)
{
    std::string text;
    while (text.size() < length) {
        text += from_alphabet(random, "abcdefgh", 1 + below(random, 12));
        text.append(1 + below(random, 7), run_chars[below(random, run_chars.size())]);
    }
    return text;
}

// UTF-16 with the units that matter to conversions: ASCII, two- and
// three-byte characters, both halves of pairs (so also lone ones), U+FFFD
// and the last code points of the planes' edges, NUL included.
inline std::u16string utf16_units(Random& random, size_t length)
{
    constexpr char16_t UNITS[] = {u'a',   u' ',   u'\n',  0x0000, 0x007F, 0x0080, 0x07FF, 0x0800, 0x010D,
                                  0x20AC, 0xD7FF, 0xD800, 0xD83D, 0xDBFF, 0xDC00, 0xDE00, 0xDFFF, 0xE000,
                                  0xFEFF, 0xFFFD, 0xFFFF};
    std::u16string units(length, u' ');
    for (char16_t& unit : units)
        unit = UNITS[below(random, std::size(UNITS))];
    return units;
}

} // namespace gen
