#include "text/rtf/rtf_unicode.h"

#include "text/unicode/unicode_text.h"

namespace {

constexpr std::string_view UTF8_CODE_PAGE = "\\ansicpg65001";
// What the control writes in place of "{\rtf1\ansi" when writing for UTF-8.
constexpr std::string_view UTF8_HEADER = "{\\urtf";

} // namespace

std::string escape_utf8_in_rtf(std::string_view rtf, unsigned code_page)
{
    std::string out;
    out.reserve(rtf.size() + rtf.size() / 4);
    std::size_t at = 0;
    if (rtf.substr(0, UTF8_HEADER.size()) == UTF8_HEADER) {
        out += "{\\rtf1\\ansi\\ansicpg" + std::to_string(code_page) + "\\uc1";
        at = UTF8_HEADER.size();
        while (at < rtf.size() && rtf[at] >= '0' && rtf[at] <= '9')
            ++at;
    }
    while (at < rtf.size()) {
        if (rtf.compare(at, UTF8_CODE_PAGE.size(), UTF8_CODE_PAGE) == 0) {
            out += "\\ansicpg" + std::to_string(code_page);
            at += UTF8_CODE_PAGE.size();
            continue;
        }
        if (static_cast<unsigned char>(rtf[at]) < 0x80) {
            out += rtf[at++];
            continue;
        }
        // A run of non-ASCII bytes: its characters as escapes.
        std::size_t end = at;
        while (end < rtf.size() && static_cast<unsigned char>(rtf[end]) >= 0x80)
            ++end;
        for (char16_t unit : utf8_to_utf16(rtf.substr(at, end - at)))
            append_unicode_escape(out, unit);
        at = end;
    }
    return out;
}
