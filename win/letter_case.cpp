#include "win/letter_case.h"

#include <windows.h>

std::u16string fold_letter_case(std::u16string_view text)
{
    std::u16string folded(text);
    if (text.empty())
        return folded;
    // Windows maps case one UTF-16 unit at a time, so the length stays.
    const int length = static_cast<int>(text.size());
    const DWORD how = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
    const auto* source = reinterpret_cast<LPCWSTR>(text.data());
    auto* target = reinterpret_cast<LPWSTR>(folded.data());
    if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, how, source, length, target, length, nullptr, nullptr, 0) != length)
        return std::u16string(text);
    return folded;
}
