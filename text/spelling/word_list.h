// The personal dictionary's file: UTF-8 text, one word a line. Pure text:
// no Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct WordList {
    std::vector<std::string> words;
    // The lines (from 1) left out: no UTF-8 text (invalid UTF-8, NUL or
    // other control characters), such as a word saved in another encoding.
    std::vector<std::size_t> bad_lines;
};

// The words of the file, in order, each once, read line by line: a
// byte-order mark, CR LF or LF line ends and white space around a word are
// allowed; empty lines are skipped, and a bad line is left out and named,
// so that one damaged line costs no other word.
WordList parse_word_list(std::string_view file);

// Whether the word may go into the file: one line of valid UTF-8 without
// white space at its edges, neither empty nor over the longest word checked.
bool is_storable_word(std::string_view word);

// The line that adds the word to the end of the file; a file that does not
// end with a line break gets one first.
std::string word_list_addition(std::string_view file_end, std::string_view word);
