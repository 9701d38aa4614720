// Which file the document belongs to, in which format, and how large a
// document may grow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "text/files/text_encoding.h"

// A document is kept as RTF, with its formats, or as plain text.
enum class FileKind { rtf, text };

// The most a document may hold, in bytes of a file and in characters of
// the control: larger files are refused when opened, larger pastes too.
inline constexpr std::size_t DOCUMENT_SIZE_LIMIT = 16 * 1024 * 1024;

// A file as the document last read or wrote it: another program that
// writes it changes its size or its time of last write.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t written = 0; // FILETIME, in 100 ns units
    bool operator==(const FileStamp&) const = default;
};

// The file the document came from or was last saved to (UTF-8), its format
// and, for text, its encoding. An untitled document has no name.
struct DocumentFile {
    std::string name;
    FileKind kind = FileKind::rtf;
    TextEncoding encoding = TextEncoding::ansi;
    // The file as it was opened or last saved; nothing when that is not
    // known (a document put back from a recovery copy).
    std::optional<FileStamp> stamp{};
    // The other program's version that the user chose not to load, so
    // that the offer does not come again for it.
    std::optional<FileStamp> reload_declined{};
};
