// The "Limit znaků..." dialog: how many characters a post may have.
#pragma once

#include <windows.h>

#include <optional>

// Far beyond any forum's limit, and within what the field holds (eight digits).
inline constexpr DWORD MAX_CHARACTER_LIMIT = 10'000'000;
inline constexpr int LIMIT_DIGITS = 8;

// Asks for the limit, opening on the current one. The new limit, from 0
// (none) to MAX_CHARACTER_LIMIT, or nothing when the user cancelled.
std::optional<DWORD> ask_character_limit(HWND owner, DWORD current);
