// A document's bytes into and out of the Editor control: RTF as it is, text
// in its file's encoding.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "document/document_file.h"
#include "win/progress.h"

// Puts a file's content in place of the control's whole text; `progress`
// hears how far it got. Returns how many places of a text file had to
// become U+FFFD.
std::size_t stream_document_in(HWND editor, const std::string& bytes, FileKind kind, TextEncoding encoding,
                               const ProgressReport& progress = {});

// The document as the bytes of its file; nothing when the control could not
// give them. Text that does not fit the code page goes as UTF-8 instead, and
// the file's encoding says so from then on.
std::optional<std::string> stream_document_out(HWND editor, DocumentFile& file);
