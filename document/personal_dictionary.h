// The user's own words, kept in "%APPDATA%\Forum Editor\dictionary.txt" as
// UTF-8, one word a line (text/spelling/word_list.h), so that they stay accepted
// after a restart and can be edited by hand.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "text/spelling/word_list.h"

// The environment variable that names another file (the tests' own, so that
// they never touch the user's).
inline constexpr wchar_t PERSONAL_DICTIONARY_VARIABLE[] = L"FORUM_EDITOR_PERSONAL_DICTIONARY";

// The file the environment names, else the one in the user's roaming
// application data; empty when Windows names no such folder.
std::wstring personal_dictionary_path();

struct PersonalWords {
    WordList list;
    // The file is there but cannot be read (a folder, no access): the
    // system's error code; 0 otherwise. No file yet is no error.
    DWORD error = 0;
};

// The words of the file, and the lines left out; none when there is no
// file yet.
PersonalWords read_personal_dictionary(const std::wstring& path);

// Adds the word at the end of the file, creating the file and its folder as
// needed. False when it cannot be written.
bool add_to_personal_dictionary(const std::wstring& path, std::string_view word);
