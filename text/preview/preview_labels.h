// What the preview writes that the post does not hold: the labels of list
// items and the headers over quotes. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The label of a list's item `number` (from 1), in the list's style ("",
// "1", "a", "A", "i" or "I"): a bullet, "3. ", "c. ", "iii. ".
std::u32string item_label(std::string_view list_style, size_t number);

// A label with its "%1" standing for the argument.
std::string with_argument(std::string_view label, std::string_view argument);

// The text without the spaces, tabs and line breaks around it.
std::string_view trim_white_space(std::string_view text);

// The author a quote's value names: it may be written in quotation marks.
std::string_view quote_author(std::string_view value);
