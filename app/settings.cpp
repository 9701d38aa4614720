#include "app/settings.h"

#include "text/files/recent_files.h"
#include "text/unicode/wide_text.h"
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

// As the file system compares names: without regard to case.
bool same_path(std::string_view a, std::string_view b)
{
    const std::wstring wide_a = to_wide(a);
    const std::wstring wide_b = to_wide(b);
    return CompareStringOrdinal(wide_a.c_str(), static_cast<int>(wide_a.size()), wide_b.c_str(),
                                static_cast<int>(wide_b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring recent_file_value(size_t index)
{
    return RECENT_FILE_VALUE + std::to_wstring(index + 1);
}

std::optional<std::wstring> read_text(const std::wstring& name)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

bool write_text(const std::wstring& name, const std::wstring& text)
{
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name.c_str(), REG_SZ, text.c_str(), bytes) ==
           ERROR_SUCCESS;
}

} // namespace

Settings load_settings()
{
    Settings settings;
    DWORD shown = 0;
    if (read_number(PREVIEW_SHOWN_VALUE, shown))
        settings.preview_shown = shown != 0;
    DWORD spelling = 0;
    if (read_number(SPELL_WHILE_TYPING_VALUE, spelling))
        settings.spell_while_typing = spelling != 0;
    if (read_number(SPELL_LANGUAGES_VALUE, spelling) && spelling >= 1 && spelling <= 3)
        settings.spell_languages = static_cast<SpellLanguages>(spelling);
    DWORD carried = 0;
    if (read_number(PASTE_COLORS_AND_SIZES_VALUE, carried))
        settings.paste_colors_and_sizes = carried != 0;
    return settings;
}

std::optional<DWORD> stored_character_limit()
{
    DWORD limit = 0;
    // A value the dialog would refuse (a damaged or hand-edited one) is no limit of the user's.
    if (read_number(CHARACTER_LIMIT_VALUE, limit) && limit <= MAX_CHARACTER_LIMIT)
        return limit;
    return std::nullopt;
}

DWORD stored_board_choice()
{
    DWORD choice = 0;
    return read_number(FORUM_PROFILE_VALUE, choice) ? choice : 0;
}

bool save_board_choice(DWORD choice)
{
    return write_number(FORUM_PROFILE_VALUE, choice);
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

bool save_paste_colors_and_sizes(bool carried)
{
    return write_number(PASTE_COLORS_AND_SIZES_VALUE, carried ? 1 : 0);
}

std::optional<InterfaceLanguage> load_interface_language()
{
    DWORD language = 0;
    if (!read_number(INTERFACE_LANGUAGE_VALUE, language) || language < 1 || language > 2)
        return std::nullopt;
    return static_cast<InterfaceLanguage>(language);
}

bool save_interface_language(InterfaceLanguage language)
{
    return write_number(INTERFACE_LANGUAGE_VALUE, static_cast<DWORD>(language));
}

std::vector<std::string> load_recent_files()
{
    std::vector<std::string> paths;
    for (size_t i = 0; i < RECENT_FILE_COUNT; ++i)
        if (const auto path = read_text(recent_file_value(i)); path && !path->empty())
            paths.push_back(from_wide(*path));
    return without_repeated_files(std::move(paths), same_path);
}

bool save_recent_files(const std::vector<std::string>& paths)
{
    bool saved = true;
    for (size_t i = 0; i < RECENT_FILE_COUNT; ++i) {
        if (i < paths.size())
            saved = write_text(recent_file_value(i), to_wide(paths[i])) && saved;
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, recent_file_value(i).c_str());
    }
    return saved;
}

void note_recent_file(const std::string& path)
{
    save_recent_files(with_recent_file(load_recent_files(), path, same_path));
}

void forget_recent_file(const std::string& path)
{
    save_recent_files(without_recent_file(load_recent_files(), path, same_path));
}

std::optional<WindowMemory> load_window_memory()
{
    DWORD left = 0, top = 0, right = 0, bottom = 0;
    if (!read_number(WINDOW_LEFT_VALUE, left) || !read_number(WINDOW_TOP_VALUE, top) ||
        !read_number(WINDOW_RIGHT_VALUE, right) || !read_number(WINDOW_BOTTOM_VALUE, bottom))
        return std::nullopt;
    // Stored as the bits of signed numbers: a window may stand left of or
    // above the main monitor.
    WindowMemory memory;
    memory.normal = {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                     static_cast<LONG>(bottom)};
    // Values mended by hand into a window of no size mean nothing.
    if (memory.normal.right <= memory.normal.left || memory.normal.bottom <= memory.normal.top)
        return std::nullopt;
    DWORD maximized = 0;
    if (read_number(WINDOW_MAXIMIZED_VALUE, maximized))
        memory.maximized = maximized != 0;
    DWORD share = 0;
    if (read_number(PREVIEW_SHARE_VALUE, share) && share <= 1000)
        memory.preview_per_mille = static_cast<int>(share);
    return memory;
}

bool save_window_memory(const WindowMemory& memory)
{
    const RECT& rect = memory.normal;
    bool saved = write_number(WINDOW_LEFT_VALUE, static_cast<DWORD>(rect.left));
    saved = write_number(WINDOW_TOP_VALUE, static_cast<DWORD>(rect.top)) && saved;
    saved = write_number(WINDOW_RIGHT_VALUE, static_cast<DWORD>(rect.right)) && saved;
    saved = write_number(WINDOW_BOTTOM_VALUE, static_cast<DWORD>(rect.bottom)) && saved;
    saved = write_number(WINDOW_MAXIMIZED_VALUE, memory.maximized ? 1 : 0) && saved;
    return write_number(PREVIEW_SHARE_VALUE, static_cast<DWORD>(memory.preview_per_mille)) && saved;
}
