// The spelling's items in the menus and its part of the status bar.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "document/spell_checker.h"

// Puts the suggestions for a misspelt word (up to SPELL_SUGGESTION_COUNT),
// "Přidat do slovníku", "Ignorovat vše" and a separator at the top of the
// context menu.
void insert_spelling_items(HMENU popup, const std::vector<std::string>& suggestions);

// Checks "Kontrolovat pravopis při psaní" and the language chosen, in the
// menu bar.
void check_spelling_items(HWND main_window, bool while_typing, SpellLanguages languages);

// "Překlepy: N", the number grouped as the user's locale groups it; empty
// while nothing is checked.
std::string misspellings_status(const std::optional<std::size_t>& count);
