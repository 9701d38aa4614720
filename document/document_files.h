// New, open, save and save-as of the Editor control's content, as RTF or
// plain text, and the window title that names the current file.
#pragma once

#include <windows.h>

#include <string>

enum FileKind : int { FILE_KIND_RTF = 1, FILE_KIND_TEXT = 2 };

// The file the document came from or was last saved to, and its format.
struct DocumentFile {
    std::string name;
    int kind = FILE_KIND_RTF;
};

void new_document(HWND editor, DocumentFile& file);
void open_document(HWND editor, DocumentFile& file);
// Both return true when the document was written to disk.
bool save_document(HWND editor, DocumentFile& file);
bool save_document_as(HWND editor, DocumentFile& file);

// Asks whether to save a modified document before the program closes.
// Returns true when the window may close.
bool confirm_close(HWND editor, DocumentFile& file);
