// The files opened or saved lately, newest first, and how the File menu
// names them. Pure text: paths are the program's UTF-8, and whether two
// paths name the same file is for the caller to say (Windows compares them
// without regard to case, as its file system does).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t RECENT_FILE_COUNT = 8;

// A path in a menu caption never takes more characters than this.
inline constexpr std::size_t RECENT_CAPTION_CHARACTERS = 60;

using SamePath = bool (*)(std::string_view, std::string_view);

// The list with `path` in front, any earlier entry for the same file taken
// out, and at most RECENT_FILE_COUNT entries.
std::vector<std::string> with_recent_file(std::vector<std::string> list, std::string_view path, SamePath same);

// The list without any entry for the same file as `path`.
std::vector<std::string> without_recent_file(std::vector<std::string> list, std::string_view path, SamePath same);

// The list with each file once, where it first stands: a list stored by
// hand, or by an older version, may name one file twice in other cases.
std::vector<std::string> without_repeated_files(std::vector<std::string> list, SamePath same);

// "&1 C:\posts\post.rtf" for the first entry (index 0): the number is the
// item's key, a long path is shortened in the middle and an "&" in it is
// shown as itself.
std::string recent_file_caption(std::size_t index, std::string_view path);
