// The program's UTF-8 text as the wide strings that Windows functions take,
// and back. Every character survives, lone surrogates included.
#pragma once

#include <string>
#include <string_view>

#include "text/unicode/unicode_text.h"

inline std::wstring to_wide(std::string_view utf8)
{
    const std::u16string utf16 = utf8_to_utf16(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

inline std::string from_wide(std::wstring_view wide)
{
    return utf16_to_utf8(std::u16string(wide.begin(), wide.end()));
}
