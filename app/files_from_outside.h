// Files named to the editor from outside it: on its command line ("Open
// with", a double click on a file of a kind given to the editor) and
// dropped on its window from Explorer. The editor holds one post at a
// time: of several files it opens the first, and a note says so.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

struct MainWindowState;

// Opens the first file as Open does, RTF or text by its first bytes, a
// relative path from the current folder. A path that names nothing, a
// folder or a device is refused with a message before anything is asked;
// then comes the save question when the post is modified, then every
// check of the file.
void open_named_files(MainWindowState& state, const std::vector<std::wstring>& paths);

// The window takes files dropped from Explorer (WM_DROPFILES). The Editor
// control takes them too, and its subclass hands them on to the Main window.
void accept_dropped_files(HWND window);

// WM_DROPFILES: opens what was dropped, as above, and lets the drop go.
void open_dropped_files(HWND main_window, HDROP drop);
