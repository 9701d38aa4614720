// The "Limit znaků..." dialog: how many characters a post may have.
#pragma once

#include <windows.h>

#include <optional>

// Sets no bound of its own beyond what fits the field: eight digits.
inline constexpr int LIMIT_DIGITS = 8;

// Asks for the limit, opening on the current one. The new limit (0 for
// none), or nothing when the user cancelled.
std::optional<DWORD> ask_character_limit(HWND owner, DWORD current);
