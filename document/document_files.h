// New, open, save and save-as of the Editor control's content, as RTF or
// plain text, and the window title that names the current file.
#pragma once

#include <windows.h>

void new_document(HWND editor);
void open_document(HWND editor);
// Both return true when the document was written to disk.
bool save_document(HWND editor);
bool save_document_as(HWND editor);

// Asks whether to save a modified document before the program closes.
// Returns true when the window may close.
bool confirm_close(HWND editor);
