// The Main window's title, which names the document's file.
#pragma once

#include <windows.h>

#include <string>

// "Editor [file name]", or the untitled document's title when it has no name.
void show_document_title(HWND main_window, const std::string& file_name);
