#include "text/preview/preview_labels.h"

namespace {

constexpr char32_t BULLET = 0x2022;

// "xiv", in the letters of `first` ('i' or 'I'); beyond 3999 the number.
std::u32string roman_numeral(size_t number, char32_t first)
{
    constexpr struct {
        size_t value;
        std::string_view letters;
    } NUMERALS[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                    {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},   {4, "iv"},  {1, "i"}};
    std::u32string label;
    if (number >= 4000) {
        for (char digit : std::to_string(number))
            label += static_cast<char32_t>(digit);
        return label;
    }
    for (const auto& numeral : NUMERALS) {
        for (; number >= numeral.value; number -= numeral.value)
            for (char letter : numeral.letters)
                label += static_cast<char32_t>(first == U'I' ? letter - 'a' + 'A' : letter);
    }
    return label;
}

} // namespace

std::u32string item_label(std::string_view list_style, size_t number)
{
    if (list_style.empty())
        return {BULLET, ' '};
    std::u32string label;
    if (list_style == "1") {
        for (char digit : std::to_string(number))
            label += static_cast<char32_t>(digit);
    } else if (list_style == "i" || list_style == "I") {
        label = roman_numeral(number, static_cast<char32_t>(list_style[0]));
    } else {
        // a, b, ... z, aa, ab, ...
        const char32_t first = list_style == "A" ? U'A' : U'a';
        for (size_t n = number; n > 0; n = (n - 1) / 26)
            label.insert(label.begin(), static_cast<char32_t>(first + (n - 1) % 26));
    }
    return label + U". ";
}

std::string with_argument(std::string_view label, std::string_view argument)
{
    std::string text(label);
    if (const size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

std::string_view trim_white_space(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

std::string_view quote_author(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return trim_white_space(value);
}

