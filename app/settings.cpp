#include "app/settings.h"

#include "ui/limit_dialog.h"

namespace {

bool read_number(const wchar_t* name, DWORD& value)
{
    DWORD stored = 0;
    DWORD size = sizeof stored;
    if (RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr, &stored, &size) !=
        ERROR_SUCCESS)
        return false;
    value = stored;
    return true;
}

// Creates the key the first time.
bool write_number(const wchar_t* name, DWORD value)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name, REG_DWORD, &value, sizeof value) ==
           ERROR_SUCCESS;
}

} // namespace

Settings load_settings()
{
    Settings settings;
    DWORD limit = 0;
    // A value the dialog would refuse (a damaged or hand-edited one) is no limit of the user's.
    if (read_number(CHARACTER_LIMIT_VALUE, limit) && limit <= MAX_CHARACTER_LIMIT)
        settings.character_limit = limit;
    DWORD shown = 0;
    if (read_number(PREVIEW_SHOWN_VALUE, shown))
        settings.preview_shown = shown != 0;
    DWORD spelling = 0;
    if (read_number(SPELL_WHILE_TYPING_VALUE, spelling))
        settings.spell_while_typing = spelling != 0;
    if (read_number(SPELL_LANGUAGES_VALUE, spelling) && spelling >= 1 && spelling <= 3)
        settings.spell_languages = static_cast<SpellLanguages>(spelling);
    return settings;
}

bool save_character_limit(DWORD limit)
{
    return write_number(CHARACTER_LIMIT_VALUE, limit);
}

bool save_preview_shown(bool shown)
{
    return write_number(PREVIEW_SHOWN_VALUE, shown ? 1 : 0);
}

bool save_spelling(bool while_typing, SpellLanguages languages)
{
    const bool typing_saved = write_number(SPELL_WHILE_TYPING_VALUE, while_typing ? 1 : 0);
    return write_number(SPELL_LANGUAGES_VALUE, static_cast<DWORD>(languages)) && typing_saved;
}
