// RTF that the rich-edit control wrote, made to read back into it exactly.
// Pure text: no Windows headers.
#pragma once

#include <string>
#include <string_view>

// Wine's control writes a paragraph's single line spacing as
// "\sl-240\slmult1", which its own reader takes for a spacing of 240
// twips: another paragraph format, which would then have to be set on
// every paragraph again, at the cost of laying them all out once more.
// Without those two words the reader keeps single spacing. Everything else
// stays byte for byte; braces and backslashes of the text are no words.
std::string without_single_line_spacing(std::string_view rtf);
