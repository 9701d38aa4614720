// The recent files at the end of the File popup, before its last item (END):
// "&1 name" ... "&8 name", then a separator.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Puts the paths (UTF-8, newest first) in the popup in place of the ones it
// showed before; none leaves the popup as the resource has it.
void show_recent_files(HMENU file_popup, const std::vector<std::string>& paths);

// Whether a command is a recent-file item, and which of them (0 is the newest).
bool is_recent_file_item(UINT command);
size_t recent_file_index(UINT command);
