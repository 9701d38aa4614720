#include "text/forum/color_tag_text.h"

namespace {

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

void append_hex_byte(std::string& out, uint32_t byte)
{
    out += HEX_DIGITS[(byte >> 4) & 0xF];
    out += HEX_DIGITS[byte & 0xF];
}

} // namespace

std::string color_hex_digits(uint32_t color)
{
    std::string digits;
    digits.reserve(6);
    append_hex_byte(digits, color & 0xFF);         // red
    append_hex_byte(digits, (color >> 8) & 0xFF);  // green
    append_hex_byte(digits, (color >> 16) & 0xFF); // blue
    return digits;
}

std::string color_tag_text(std::string_view open_tag, uint32_t color, std::string_view selected,
                           std::string_view close_tag)
{
    constexpr std::string_view after_digits = "] ";
    std::string text;
    text.reserve(open_tag.size() + 6 + after_digits.size() + selected.size() + close_tag.size());
    text.append(open_tag).append(color_hex_digits(color)).append(after_digits);
    text.append(selected).append(close_tag);
    return text;
}
