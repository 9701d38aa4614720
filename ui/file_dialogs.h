// The Open and Save As dialogs of the document.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "document/document_file.h"

// A file the user picked, and the kind its filter stands for.
struct FileChoice {
    std::string path;
    FileKind kind;
};

// Both start on the current file's name; nothing when the user cancelled
// or the dialog failed.
std::optional<FileChoice> ask_file_to_open(HWND owner, const DocumentFile& current);
// Asks before replacing an existing file.
std::optional<FileChoice> ask_file_to_save(HWND owner, const DocumentFile& current);
