// A board written as a small UTF-8 text for a file or the registry, and
// read back from one. The text is INI: a [board] section with its name,
// forum and limits, then one [tag] section for each extra tag:
//
//   [board]
//   name = Klub
//   forum = phpbb
//   length = 50000
//
//   [tag]
//   name = center
//   value = no
//   look = center
//
// A limit left out is the forum's default. Reading is strict: anything it
// does not know refuses the whole text and names its line, so a damaged or
// hostile file changes nothing. Pure text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/forum/board.h"

// Larger texts are refused unread: 64 extra tags take some 3 KB.
inline constexpr size_t MAX_BOARD_TEXT = 64 * 1024;
inline constexpr size_t MAX_BOARD_LINE = 1000;

enum class BoardFileFault : uint8_t {
    none,
    too_large,        // more than MAX_BOARD_TEXT bytes; the line where it passes that
    not_utf8,         // the line with the first byte that is no UTF-8
    line_too_long,    // more than MAX_BOARD_LINE bytes
    not_a_line,       // neither a section, nor "key = value", nor a comment
    unknown_section,  // a section other than [board] and [tag], or [board] twice or late
    unknown_key,      // a key its section does not have, or a key before any section
    repeated_key,
    not_a_number,     // a limit that is no whole number without a sign
    out_of_range,     // a limit above its largest
    not_for_forum,    // a limit the board's forum does not have
    unknown_forum,
    not_yes_or_no,
    unknown_look,
    bad_name,         // a board's name that is empty, too long or has control characters
    bad_tag_name,     // a tag name that is not 1 to 20 letters, digits, "_" or "-"
    repeated_tag,
    too_many_tags,    // the [tag] past the 64th
    missing_key,      // a section without its name (or the board without its forum)
    no_board,         // no [board] section at all
};

struct BoardFileError {
    BoardFileFault fault = BoardFileFault::none;
    size_t line = 0; // 1-based
};

struct BoardFileRead {
    std::optional<Board> board;
    BoardFileError error;
};

BoardFileRead read_board_text(std::string_view text);

// The board as text that read_board_text() reads back as it is, lines
// ending in CR LF.
std::string board_text(const Board& board);

// The names the text gives forums and looks.
std::string_view forum_key(ForumProfileId forum);
std::string_view look_key(ExtraLook look);
