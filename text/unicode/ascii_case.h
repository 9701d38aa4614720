// Letter case of ASCII, as tags, addresses and forum keywords compare it.
// Pure text: no Windows headers.
#pragma once

#include <algorithm>
#include <string_view>

constexpr char to_lower_ascii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equals_ignoring_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return to_lower_ascii(x) == to_lower_ascii(y); });
}

// `prefix` in lower case.
constexpr bool starts_with_ignoring_case(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equals_ignoring_case(text.substr(0, prefix.size()), prefix);
}
