#include "text/rtf/rtf_tokens.h"

#include <algorithm>

RtfControlWord read_rtf_control_word(std::string_view bytes, std::size_t start)
{
    RtfControlWord word;
    std::size_t at = start + 1;
    while (at < bytes.size() && is_rtf_letter(bytes[at]))
        ++at;
    word.name = bytes.substr(start + 1, at - start - 1);
    if (at + 1 < bytes.size() && bytes[at] == '-' && is_rtf_digit(bytes[at + 1])) {
        word.negative = true;
        ++at;
    }
    for (; at < bytes.size() && is_rtf_digit(bytes[at]); ++at) {
        word.has_number = true;
        word.number = std::min(RTF_NUMBER_CAP, word.number * 10 + static_cast<std::uint64_t>(bytes[at] - '0'));
    }
    if (at < bytes.size() && bytes[at] == ' ') {
        word.delimited = true;
        ++at;
    }
    word.end = at;
    return word;
}
