// The user's own words, kept in "%APPDATA%\Forum Editor\dictionary.txt" as
// UTF-8, one word a line (text/word_list.h), so that they stay accepted
// after a restart and can be edited by hand.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The environment variable that names another file (the tests' own, so that
// they never touch the user's).
inline constexpr wchar_t PERSONAL_DICTIONARY_VARIABLE[] = L"FORUM_EDITOR_PERSONAL_DICTIONARY";

// The file the environment names, else the one in the user's roaming
// application data; empty when Windows names no such folder.
std::wstring personal_dictionary_path();

// The words of the file; none when there is no file yet. Nothing when the
// file is there but cannot be read or holds no word list.
std::optional<std::vector<std::string>> read_personal_dictionary(const std::wstring& path);

// Adds the word at the end of the file, creating the file and its folder as
// needed. False when it cannot be written.
bool add_to_personal_dictionary(const std::wstring& path, std::string_view word);
