// What the program remembers for the user from one run to the next, under
// HKEY_CURRENT_USER\Software\Forum Editor.
#pragma once

#include <windows.h>

#include "document/spell_checker.h"

inline constexpr wchar_t SETTINGS_KEY[] = L"Software\\Forum Editor";
inline constexpr wchar_t CHARACTER_LIMIT_VALUE[] = L"CharacterLimit";
inline constexpr wchar_t PREVIEW_SHOWN_VALUE[] = L"PreviewShown";
inline constexpr wchar_t SPELL_WHILE_TYPING_VALUE[] = L"SpellCheckWhileTyping";
inline constexpr wchar_t SPELL_LANGUAGES_VALUE[] = L"SpellLanguages";

// phpBB's default; SMF takes 20,000.
inline constexpr DWORD DEFAULT_CHARACTER_LIMIT = 60000;

struct Settings {
    DWORD character_limit = DEFAULT_CHARACTER_LIMIT; // 0: no limit
    bool preview_shown = false;
    bool spell_while_typing = true;
    SpellLanguages spell_languages = SpellLanguages::both;
};

// What is stored; a value that is missing, not a number or out of range
// keeps its default.
Settings load_settings();

// Both return false when the value could not be stored.
bool save_character_limit(DWORD limit);
bool save_preview_shown(bool shown);
bool save_spelling(bool while_typing, SpellLanguages languages);
