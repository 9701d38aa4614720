// UTF-8 to and from the wide text of Windows, by the system's conversion:
// for text that is only shown (status parts, messages), where a lone
// surrogate may show as a replacement mark. Text the user keeps goes
// through the program's own conversion, which keeps every unit.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring wide_from_utf8(std::string_view text);
std::string utf8_from_wide(std::wstring_view text);
