// Which file the document belongs to, in which format, and how large a
// document may grow.
#pragma once

#include <cstddef>
#include <string>

#include "text/text_encoding.h"

// A document is kept as RTF, with its formats, or as plain text.
enum class FileKind { rtf, text };

// The most a document may hold, in bytes of a file and in characters of
// the control: larger files are refused when opened, larger pastes too.
inline constexpr std::size_t DOCUMENT_SIZE_LIMIT = 16 * 1024 * 1024;

// The file the document came from or was last saved to (UTF-8), its format
// and, for text, its encoding. An untitled document has no name.
struct DocumentFile {
    std::string name;
    FileKind kind = FileKind::rtf;
    TextEncoding encoding = TextEncoding::ansi;
};
