#include "document/document_files.h"

// Placeholders until the document commands land.
void new_document(HWND) {}
void open_document(HWND) {}
bool save_document(HWND) { return false; }
bool save_document_as(HWND) { return false; }
bool confirm_close(HWND) { return true; }
