// New, open, save and save-as of the Editor control's content, as RTF or
// plain text, and the window title that names the current file.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "text/text_encoding.h"

enum FileKind : int { FILE_KIND_RTF = 1, FILE_KIND_TEXT = 2 };

// The most a document may hold, in bytes of a file and in characters of
// the control: larger files are refused when opened, larger pastes too.
inline constexpr std::size_t DOCUMENT_SIZE_LIMIT = 16 * 1024 * 1024;

// The file the document came from or was last saved to (UTF-8), its format
// and, for text, its encoding. An untitled document has no name.
struct DocumentFile {
    std::string name;
    int kind = FILE_KIND_RTF;
    TextEncoding encoding = TextEncoding::ansi;
};

// Offers to save a modified document before it is replaced or closed: Yes
// saves, No goes on without saving, Cancel stays. Returns true when the
// caller may go on; false after Cancel, a cancelled Save As or a failed save.
bool confirm_discard(HWND editor, DocumentFile& file);

// Both return false when the user stayed with the current document or the
// file could not be opened; the document is then unchanged.
bool new_document(HWND editor, DocumentFile& file);
bool open_document(HWND editor, DocumentFile& file);

// Opens a file without asking which: as the kind chosen (the filter), unless
// the file says otherwise. Returns false, after telling the user why, when the
// file cannot be taken; the document is then unchanged.
bool open_document_file(HWND editor, DocumentFile& file, const std::string& path, int chosen_kind);

// Both return true when the document was written to disk. A failed or
// cancelled Save As keeps the old name.
bool save_document(HWND editor, DocumentFile& file);
bool save_document_as(HWND editor, DocumentFile& file);
