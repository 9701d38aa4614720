// The spelling's items in the menus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "document/spell_checker.h"

// Puts the suggestions for a misspelt word (up to SPELL_SUGGESTION_COUNT),
// "Add to dictionary", "Ignore all" and a separator at the top of the
// context menu.
void insert_spelling_items(HMENU popup, const std::vector<std::string>& suggestions);

// Checks "spelling while typing" and the languages chosen, in the menu bar.
void check_spelling_items(HWND main_window, bool while_typing, SpellLanguages languages);
