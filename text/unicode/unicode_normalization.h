// Unicode normalisation form C, as forums and dictionaries expect text,
// and the marks that join a letter to the one before it, from utf8proc's
// Unicode data. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text in normalisation form C ("e" + U+0301 becomes "é"). Text that
// is not well-formed UTF-8 (a lone surrogate, a broken byte) comes back as
// it was.
std::string to_nfc(std::string_view text);

// How many characters the text has in form C: as many as
// decode_code_point() steps over, less those that NFC composes away. A
// stretch that is not well-formed UTF-8 counts as decode_code_point()
// counts it. Linear; text whose characters all stand alone (Czech,
// emoji) is counted without normalising anything.
std::size_t nfc_length(std::string_view text);

// A character that NFC never joins to what stands before it and never
// changes: the text on either side of it normalises on its own.
bool is_nfc_stable(char32_t c);

// How many characters NFC takes out of a stretch that starts at a stable
// character and holds no other (0 for one that is not well-formed UTF-8).
size_t nfc_shrinkage(std::string_view stretch);

// A combining mark (general category Mn, Mc or Me: accents, variation
// selectors) or a zero-width (non-)joiner: a character that belongs to the
// one before it and is never a word of its own.
bool is_joining_mark(char32_t c);
