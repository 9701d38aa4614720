// The resources that the script names instead of numbering them. The names
// are the program's own outside (a translation or a patched resource
// refers to them) and stay as the script spells them.
#pragma once

inline constexpr wchar_t MAIN_MENU_RESOURCE[] = L"MYMENU";
inline constexpr wchar_t CONTEXT_MENU_RESOURCE[] = L"MYPOPUP";
inline constexpr wchar_t SHORTCUTS_RESOURCE[] = L"MYACCEL";
