// Text inside the program is UTF-8 in std::string; the rich-edit control
// holds UTF-16. The conversions between the two keep every UTF-16 string
// exactly, even one with an unpaired surrogate: such a surrogate is written
// as its own three-byte sequence (WTF-8). Pure text: no Windows headers.
//
// A character, as the user and the forum count them, is one code point:
//  - a well-formed UTF-8 sequence, or a lone surrogate's three bytes;
//  - two such surrogate sequences in a row, a lead and a trail, which UTF-16
//    pairs into one code point (they meet when the text between the halves
//    of a pair is deleted);
//  - a maximal invalid subpart (one U+FFFD's worth, as the Unicode standard
//    recommends): the longest start of a well-formed sequence, else one byte.
// Every function here takes any bytes and runs in linear time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/unicode/unicode_units.h"

// UTF-16 as WTF-8: a pair becomes four bytes, a lone surrogate three.
std::string utf16_to_utf8(std::u16string_view utf16);

// The inverse of utf16_to_utf8. Each maximal invalid subpart becomes one
// U+FFFD; a surrogate's three bytes become that surrogate.
std::u16string utf8_to_utf16(std::string_view utf8);

// Strict UTF-8: well-formed sequences only, so no surrogate's bytes.
bool is_valid_utf8(std::string_view bytes);

// The bytes as strict UTF-8, for text read from a file: each maximal invalid
// subpart (a surrogate's bytes included) becomes U+FFFD, counted in
// `replacements`. Valid UTF-8 comes back unchanged.
std::string repair_utf8(std::string_view bytes, std::size_t& replacements);

// The program's text as strict UTF-8, for a file that other programs read:
// a lone surrogate or an invalid subpart becomes U+FFFD, and two surrogate
// sequences that pair become the four bytes of their code point.
std::string to_strict_utf8(std::string_view utf8);

// The number of characters (code points) in the text.
std::size_t count_code_points(std::string_view utf8);

// How many UTF-16 units the text takes in the control, which counts its
// positions in those units: two for a code point beyond U+FFFF.
std::size_t utf16_length(std::string_view utf8);

// The byte offset of a position the control gives in UTF-16 units. A
// position between the halves of a pair gives the start of that character;
// one beyond the end gives the text's size.
std::size_t utf8_offset_of_utf16(std::string_view utf8, std::size_t utf16_offset);

// The end of the character that starts at byte `at` (at < size).
std::size_t next_character(std::string_view utf8, std::size_t at);

// The start of the character that holds byte at - 1 (0 < at <= size).
std::size_t previous_character(std::string_view utf8, std::size_t at);

// The byte offset `count` characters after the one starting at byte `from`,
// or the text's size if it has fewer.
std::size_t skip_code_points(std::string_view utf8, std::size_t from, std::size_t count);

// Where a slice of UTF-16 text that starts at `from` and is at most `most`
// units long (most >= 2) ends, so that it splits neither a surrogate pair
// nor a CR LF: put in one after another, the slices make the same
// characters and line breaks as the whole.
std::size_t slice_end(std::u16string_view text, std::size_t from, std::size_t most);
