// Walking a post's UTF-8 text one character at a time, as a forum counts
// characters. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/unicode/unicode_text.h"

struct CodePoint {
    char32_t value;
    size_t length; // bytes taken from the text, at least 1
};

// The character at `at` (which must be before the end). Reads UTF-8 and
// WTF-8: a lone surrogate, written as its own 3-byte sequence, is one
// character of that value; a high and a low surrogate written one after the
// other are joined into the one character they encode, so a pair is never
// split. Bytes that are not UTF-8 give U+FFFD, one for each maximal invalid
// stretch, as everywhere else in the program (text/unicode/unicode_text.h).
CodePoint decode_code_point(std::string_view text, size_t at);

// The length of the line break at `at`: 2 for CR LF, 1 for a lone CR or
// LF, 0 when no break starts there.
size_t line_break_length(std::string_view text, size_t at);

// Unicode White_Space: what separates words.
bool is_white_space(char32_t c);

// Whether the character can make a word: letters, digits and the like,
// not punctuation, symbols, pictographs or white space. Characters beyond
// ASCII count as letters unless they are in a block of punctuation or
// symbols.
bool is_word_character(char32_t c);
