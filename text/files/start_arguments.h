// What the editor is asked to do by the words after its name on the command
// line ("Open with", a double click on a file, a shortcut, another editor).
// Pure text: the arguments come already split, as the shell splits them.
#pragma once

#include <optional>
#include <string>
#include <vector>

// "forum-editor.exe /recover PATH": an editor that restored one recovery
// copy starts another editor so for each further copy.
inline constexpr wchar_t RECOVER_SWITCH[] = L"/recover";
// Everything after it is a file, even a name that reads like the switch.
inline constexpr wchar_t END_OF_SWITCHES[] = L"--";

struct StartArguments {
    // The recovery copy to restore ("/recover PATH"); the files are then none.
    std::optional<std::wstring> recovery_copy;
    // The files to open, as given (relative ones from the current folder).
    std::vector<std::wstring> files;
};

// Reads the arguments after the program's name. "/recover" counts as the
// switch only as the first argument, and takes the one after it; any other
// word, "/" in front or not, names a file. An empty word names nothing.
StartArguments read_start_arguments(const std::vector<std::wstring>& arguments);
