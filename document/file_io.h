// Whole files on disk: read at once up to a limit, written so that the old
// file survives any failure, and the system's words for what went wrong.
// Paths are the program's UTF-8.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/document_file.h"

// The path as the file functions take it: from MAX_PATH characters on,
// in its "\\?\" form, which lifts that limit.
std::wstring system_path(const std::string& path);

// The path of a file just written, as the file system names it: Windows
// drops the trailing dots and spaces of each name in a path ("post." is
// written as "post"), but not in the "\\?\" form, which keeps names as
// they are given.
std::string name_as_saved(const std::string& path);

// The path made whole as Windows makes it, a relative one from the current
// folder; the path as given when it cannot be.
std::string absolute_path(const std::string& path);

// The system's own words for an error code, without the trailing line break.
std::string system_reason(DWORD error);

enum class ReadFailure { none, system_error, not_a_regular_file, too_large };

// A file read whole, or why it was not.
struct FileRead {
    std::optional<std::string> bytes;
    ReadFailure failure = ReadFailure::none;
    // The system's code for the failure, refusals included
    // (ERROR_INVALID_FUNCTION for a device, ERROR_FILE_TOO_LARGE).
    DWORD error = 0;
    // With too_large: the file's size, or 0 when it grew past the limit while read.
    std::uint64_t size = 0;
    // The file as it was read.
    FileStamp stamp{};
};

// Only regular files are read, and never more than `limit` bytes: an endless
// source (a device) stops at the limit instead of filling memory.
FileRead read_whole_file(const std::string& path, std::size_t limit);

// What a path names, before it is opened: nothing (the system finds no
// file or folder there; a file it may not read, or a drive that does not
// answer, is not missing), a folder, a device ("NUL", "\\.\COM1"), or
// something to open and see.
enum class PathKind { missing, folder, device, other };
PathKind path_kind(const std::string& path);
// The file's size and time of last write now; nothing when it is gone or
// cannot be looked at.
std::optional<FileStamp> file_stamp(const std::string& path);

// Writes the bytes into a new file beside the target and only then puts it
// in the target's place, so that a failure at any step leaves the old file
// exactly as it was. A read-only target or a folder is refused. Returns 0 or
// the system's error code.
DWORD write_file_atomically(const std::string& path, std::string_view bytes);
