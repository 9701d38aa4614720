// RTF that keeps every character. Wine's RTF writer turns a character beyond
// ASCII into the nearest one of the code page it writes for (a Greek mu into
// the micro sign, "ř" into "r" under code page 1252) and writes that. Asked
// to write for UTF-8, it writes every character exactly, as raw UTF-8 bytes,
// which RTF readers do not expect; this turns those bytes into the \uN
// escapes that every reader knows. Pure text: no Windows headers.
#pragma once

#include <charconv>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

// Appends one UTF-16 unit as RTF's \uN? escape: N is the unit as a signed
// 16-bit number, as RTF wants it, and "?" stands in for it in readers
// without Unicode (the document says \uc1). Inline: the writers call it for
// every character beyond ASCII.
inline void append_unicode_escape(std::string& rtf, char16_t unit)
{
    char escape[10] = "\\u";
    char* const end = std::to_chars(escape + 2, std::end(escape), static_cast<std::int16_t>(unit)).ptr;
    *end = '?';
    rtf.append(escape, end + 1);
}

// The RTF with each character beyond ASCII written as \uN? (one escape per
// UTF-16 unit, N signed as RTF wants), and the control's UTF-8 header
// ("{\urtf", or \ansicpg65001) made the usual "{\rtf1\ansi" naming
// `code_page`. Bytes that are not UTF-8 become U+FFFD. Everything
// else, and RTF that is already all ASCII, stays byte for byte. Linear.
std::string escape_utf8_in_rtf(std::string_view rtf, unsigned code_page);
