// A board: one forum's software as its administrator set it up, with its
// own limits and the tags it added. Its profile is the forum's table with
// those changes, passed down as the table is. Pure text: where boards are
// kept and how they are written to a file is not its business.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/forum/forum_profile.h"

// The values a board's administrator can change that this editor follows.
enum class BoardLimit : uint8_t {
    length,       // phpBB max_post_chars, SMF max_messageLength, MyBB maxmessagelength
    quote_depth,  // phpBB max_quote_depth
    largest_size, // phpBB max_post_font_size
    pictures,     // MyBB maxpostimages
};
inline constexpr size_t BOARD_LIMIT_COUNT = 4;

// The largest value each limit may have, far beyond any board's.
uint32_t largest_limit(BoardLimit limit);

// The limits the forum's administrator can change, in the order shown.
std::span<const BoardLimit> adjustable_limits(ForumProfileId forum);

// The forum's own value of the limit (0: none).
uint32_t forum_default(const ForumProfile& forum, BoardLimit limit);

inline constexpr size_t MAX_EXTRA_TAGS = 64;
inline constexpr size_t MAX_EXTRA_TAG_NAME = 20;
inline constexpr size_t MAX_BOARD_NAME = 40; // characters
inline constexpr size_t MAX_USER_BOARDS = 50;

// Whether the name can be an extra tag's: 1 to MAX_EXTRA_TAG_NAME ASCII
// letters, digits, "_" or "-" (what phpBB's, SMF's and MyBB's forms take),
// so that it never holds markup of its own.
bool is_extra_tag_name(std::string_view name);

// Whether the name can be a board's: 1 to MAX_BOARD_NAME characters of
// valid UTF-8, no control characters, not only blanks.
bool is_board_name(std::string_view name);

struct Board {
    std::string name;
    ForumProfileId forum = ForumProfileId::editor;
    // Nothing: the forum's default.
    std::array<std::optional<uint32_t>, BOARD_LIMIT_COUNT> limits{};
    std::vector<ExtraTag> extra_tags;

    std::optional<uint32_t>& limit(BoardLimit which) { return limits[static_cast<size_t>(which)]; }
    const std::optional<uint32_t>& limit(BoardLimit which) const { return limits[static_cast<size_t>(which)]; }
    bool operator==(const Board&) const = default;
};

// The boards a user writes for: the forums' own first, one for each
// forum in the order of ForumProfileId (with no name: the forum's is
// theirs), then the user's.
struct BoardList {
    std::vector<Board> boards;
    size_t chosen = 0;

    bool is_forums_own(size_t index) const { return index < FORUM_PROFILE_COUNT; }
};

// The forum's own board: its table unchanged.
Board forum_board(ForumProfileId forum);
// The forums' own boards unchanged, and none of the user's.
BoardList default_boards();

// The board's value of the limit: its own, or the forum's.
uint32_t board_limit(const Board& board, BoardLimit limit);

// Why an extra tag cannot be added to a board.
enum class ExtraTagFault : uint8_t { none, bad_name, repeated, too_many };
ExtraTagFault extra_tag_fault(const Board& board, std::string_view name);

// The board's rules: its forum's table with the board's changes. Keeps the
// extra tags its profile points to; a copy points to its own.
class BoardRules {
public:
    explicit BoardRules(Board board);
    BoardRules(const BoardRules& other) : BoardRules(other.board_) {}
    BoardRules& operator=(const BoardRules& other);

    const ForumProfile& profile() const { return profile_; }
    const Board& board() const { return board_; }

private:
    Board board_;
    ForumProfile profile_;
};
