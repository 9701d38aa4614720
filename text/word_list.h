// The personal dictionary's file: UTF-8 text, one word a line. Pure text:
// no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The words of the file, in order, each once: a byte-order mark, CR LF or
// LF line ends and white space around a word are allowed; empty lines are
// skipped. Nothing when the file is no UTF-8 text (invalid UTF-8, NUL or
// other control characters), so that a damaged file is reported, not read
// as words.
std::optional<std::vector<std::string>> parse_word_list(std::string_view file);

// Whether the word may go into the file: one line of valid UTF-8 without
// white space at its edges, neither empty nor over the longest word checked.
bool is_storable_word(std::string_view word);

// The line that adds the word to the end of the file; a file that does not
// end with a line break gets one first.
std::string word_list_addition(std::string_view file_end, std::string_view word);
