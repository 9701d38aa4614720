// Where the program finds the user's folders and itself, and the variables
// that tests set to point it elsewhere.
#pragma once

#include <windows.h>

#include <string>

// The value of an environment variable; empty when it is not set.
std::wstring environment_value(const wchar_t* name);

// A folder of the user's: the variable Windows sets for every user (asking
// the shell costs the start-up its library's setting up), else the shell's
// answer for `csidl`; empty when neither knows it.
std::wstring user_folder(const wchar_t* variable, int csidl);

// The program's own file, whatever the length of its path.
std::wstring program_path();
