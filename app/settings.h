// What the program remembers for the user from one run to the next, under
// HKEY_CURRENT_USER\Software\Forum Editor.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "document/spell_checker.h"
#include "text/forum/forum_profile.h"

inline constexpr wchar_t SETTINGS_KEY[] = L"Software\\Forum Editor";
// The one limit of every forum, kept before there were boards: the forums'
// own boards take it until they are changed. Only read.
inline constexpr wchar_t CHARACTER_LIMIT_VALUE[] = L"CharacterLimit";
inline constexpr wchar_t PREVIEW_SHOWN_VALUE[] = L"PreviewShown";
inline constexpr wchar_t SPELL_WHILE_TYPING_VALUE[] = L"SpellCheckWhileTyping";
inline constexpr wchar_t SPELL_LANGUAGES_VALUE[] = L"SpellLanguages";
// "RecentFile1" (the newest) to "RecentFile8", each a path as text.
inline constexpr wchar_t RECENT_FILE_VALUE[] = L"RecentFile";
// Where the Main window stood when it was last closed.
inline constexpr wchar_t WINDOW_LEFT_VALUE[] = L"WindowLeft";
inline constexpr wchar_t WINDOW_TOP_VALUE[] = L"WindowTop";
inline constexpr wchar_t WINDOW_RIGHT_VALUE[] = L"WindowRight";
inline constexpr wchar_t WINDOW_BOTTOM_VALUE[] = L"WindowBottom";
inline constexpr wchar_t WINDOW_MAXIMIZED_VALUE[] = L"WindowMaximized";
inline constexpr wchar_t PREVIEW_SHARE_VALUE[] = L"PreviewShare";
inline constexpr wchar_t PASTE_COLORS_AND_SIZES_VALUE[] = L"PasteColorsAndSizes";
// The language of the interface the user chose (1 Czech, 2 English); none
// until the user chooses one.
inline constexpr wchar_t INTERFACE_LANGUAGE_VALUE[] = L"InterfaceLanguage";

// The board the post is written for: a ForumProfileId for a forum's own
// board, or a user's board (app/board_store.h).
inline constexpr wchar_t FORUM_PROFILE_VALUE[] = L"ForumProfile";

struct Settings {
    bool preview_shown = false;
    bool spell_while_typing = true;
    SpellLanguages spell_languages = SpellLanguages::both;
    // Whether a paste carries text colours and sizes as [color] and [size].
    bool paste_colors_and_sizes = false;
};

// What is stored; a value that is missing, not a number or out of range
// keeps its default.
Settings load_settings();

// The one character limit kept before there were boards, for every forum;
// nothing when none is kept or it is out of range.
std::optional<DWORD> stored_character_limit();
// Which board is chosen, as FORUM_PROFILE_VALUE keeps it; 0 when none is.
DWORD stored_board_choice();

// They return false when the value could not be stored.
bool save_board_choice(DWORD choice);
bool save_preview_shown(bool shown);
bool save_spelling(bool while_typing, SpellLanguages languages);
bool save_paste_colors_and_sizes(bool carried);

enum class InterfaceLanguage { czech = 1, english = 2 };

std::optional<InterfaceLanguage> load_interface_language();
bool save_interface_language(InterfaceLanguage language);

// The recent files, newest first (UTF-8 paths), each file once, its case
// folded as Windows compares paths; none when nothing is stored.
std::vector<std::string> load_recent_files();
bool save_recent_files(const std::vector<std::string>& paths);
// Puts the file at the front of the stored list, or takes it off; the same
// file under another letter case is the same file.
void note_recent_file(const std::string& path);
void forget_recent_file(const std::string& path);

// The Main window as it was closed: its restored rectangle (as
// GetWindowPlacement gives it), whether it was maximized, and the
// preview's share of the width in thousandths.
struct WindowMemory {
    RECT normal{};
    bool maximized = false;
    int preview_per_mille = 500;
};

// Nothing before the window was first closed.
std::optional<WindowMemory> load_window_memory();
bool save_window_memory(const WindowMemory& memory);
