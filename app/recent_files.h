// The files opened or saved lately: kept in the registry for the next
// start, shown at the end of the File popup, opened from there.
#pragma once

#include <windows.h>

#include <string>

#include "app/file_commands.h"
#include "win/progress.h"

struct MainWindowState;

// Shows the stored list in the File popup (again: another editor may have
// changed it meanwhile).
void refresh_recent_files(MainWindowState& state);

// Opens the file of a recent-file item (0 is the newest shown), as Open
// would; an entry that is no longer there, or names a folder or a device,
// is taken off the list, with a word to the user. Returns what became of
// the document.
DocumentChange open_recent_file(MainWindowState& state, size_t index, const ProgressReport& progress = {});
