// Building markup text. Pure text: no Windows headers, so it is also built
// and tested natively.
#pragma once

#include <string>
#include <string_view>

// open_tag + text + close_tag, as one string.
std::string wrap_text(std::string_view open_tag, std::string_view text, std::string_view close_tag);
