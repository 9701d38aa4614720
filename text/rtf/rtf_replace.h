// Replace All in the RTF that the rich-edit control writes of a range with
// more than one format. One pass puts each replacement in the place of its
// match and keeps every control word, so the text around each match keeps
// its format and each replacement takes the format of the first character
// it replaces. The control then takes the result in one piece, where one
// edit per match costs time in the square of the matches. Pure text: no
// Windows headers.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct TextReplacement {
    // Where each match starts in the text, in order, none overlapping.
    std::span<const std::size_t> starts;
    // The length of every match, in UTF-16 units; more than 0.
    std::size_t length = 0;
    std::u16string_view replacement;
};

// `rtf` holds `text`: the control's UTF-16, a paragraph break as the
// control holds it ("\r\n", "\r" or "\n" for each \par). Returns the RTF
// with the matches replaced; nothing when the RTF does not hold exactly
// `text` as it is read here (a picture or a table, a character written in
// the code page, an unknown \uc), or when a line break would be replaced
// or put in. Linear in the RTF and the replacements.
std::optional<std::string> replace_in_rtf(std::string_view rtf, std::u16string_view text,
                                          const TextReplacement& replacing);
