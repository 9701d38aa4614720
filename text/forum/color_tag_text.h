// The text of a colour tag. Pure text: no Windows headers, so it is also
// built and tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Six upper-case hexadecimal digits, RRGGBB, of a COLORREF-style colour:
// red in bits 0-7, green in bits 8-15, blue in bits 16-23. The top byte is
// ignored.
std::string color_hex_digits(uint32_t color);

// open_tag + RRGGBB + "] " + selected + close_tag: the text that replaces the
// selection, e.g. "[color=#FF0000] word[/color]". Any length of selection.
std::string color_tag_text(std::string_view open_tag, uint32_t color, std::string_view selected,
                           std::string_view close_tag);
