#include "text/forum/board.h"

#include <algorithm>

#include "text/unicode/ascii_case.h"
#include "text/unicode/unicode_text.h"

namespace {

using enum BoardLimit;

// What each forum's administration panel offers that this editor checks.
// phpBB: includes/acp/acp_board.php, 'post' mode (max_post_chars,
// max_quote_depth, max_post_font_size). SMF: Sources/ManagePosts.php,
// ModifyPostSettings() (max_messageLength). MyBB: install/resources/
// settings.xml, group "posting" (maxmessagelength, maxpostimages).
constexpr BoardLimit EDITOR_LIMITS[] = {length};
constexpr BoardLimit PHPBB_LIMITS[] = {length, quote_depth, largest_size};
constexpr BoardLimit SMF_LIMITS[] = {length};
constexpr BoardLimit MYBB_LIMITS[] = {length, pictures};

constexpr uint32_t LARGEST_LENGTH = 10'000'000;
constexpr uint32_t LARGEST_OTHER = 9'999;

} // namespace

uint32_t largest_limit(BoardLimit limit)
{
    return limit == length ? LARGEST_LENGTH : LARGEST_OTHER;
}

std::span<const BoardLimit> adjustable_limits(ForumProfileId forum)
{
    switch (forum) {
    case ForumProfileId::phpbb: return PHPBB_LIMITS;
    case ForumProfileId::smf: return SMF_LIMITS;
    case ForumProfileId::mybb: return MYBB_LIMITS;
    case ForumProfileId::editor: break;
    }
    return EDITOR_LIMITS;
}

uint32_t forum_default(const ForumProfile& forum, BoardLimit limit)
{
    switch (limit) {
    case length: return forum.default_limit;
    case quote_depth: return static_cast<uint32_t>(forum.quote_depth);
    case largest_size: return static_cast<uint32_t>(forum.largest_size);
    case pictures: return static_cast<uint32_t>(forum.picture_limit);
    }
    return 0;
}

bool is_extra_tag_name(std::string_view name)
{
    return !name.empty() && name.size() <= MAX_EXTRA_TAG_NAME && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
}

bool is_board_name(std::string_view name)
{
    if (name.empty() || !is_valid_utf8(name) || count_code_points(name) > MAX_BOARD_NAME)
        return false;
    // C0 controls and DEL in one byte; C1 controls are U+0080 to U+009F, "\xC2\x80" to "\xC2\x9F".
    for (size_t at = 0; at < name.size(); ++at) {
        const auto c = static_cast<unsigned char>(name[at]);
        if (c < 0x20 || c == 0x7F)
            return false;
        if (c == 0xC2 && at + 1 < name.size() && static_cast<unsigned char>(name[at + 1]) <= 0x9F)
            return false;
    }
    return name.find_first_not_of(' ') != std::string_view::npos;
}

Board forum_board(ForumProfileId forum)
{
    Board board;
    board.forum = forum;
    return board;
}

BoardList default_boards()
{
    BoardList list;
    for (size_t forum = 0; forum < FORUM_PROFILE_COUNT; ++forum)
        list.boards.push_back(forum_board(static_cast<ForumProfileId>(forum)));
    return list;
}

uint32_t board_limit(const Board& board, BoardLimit limit)
{
    return board.limit(limit).value_or(forum_default(forum_profile(board.forum), limit));
}

ExtraTagFault extra_tag_fault(const Board& board, std::string_view name)
{
    if (!is_extra_tag_name(name))
        return ExtraTagFault::bad_name;
    if (std::any_of(board.extra_tags.begin(), board.extra_tags.end(),
                    [name](const ExtraTag& tag) { return equals_ignoring_case(tag.name, name); }))
        return ExtraTagFault::repeated;
    if (board.extra_tags.size() >= MAX_EXTRA_TAGS)
        return ExtraTagFault::too_many;
    return ExtraTagFault::none;
}

BoardRules::BoardRules(Board board) : board_(std::move(board)), profile_(forum_profile(board_.forum))
{
    for (BoardLimit limit : adjustable_limits(board_.forum)) {
        const uint32_t value = board_limit(board_, limit);
        switch (limit) {
        case length: profile_.default_limit = value; break;
        case quote_depth: profile_.quote_depth = value; break;
        // phpBB's parser::filter_font_size() takes any size when it is 0.
        case largest_size: profile_.largest_size = static_cast<int>(value); break;
        case pictures: profile_.picture_limit = value; break;
        }
    }
    for (ExtraTag& tag : board_.extra_tags)
        std::transform(tag.name.begin(), tag.name.end(), tag.name.begin(), to_lower_ascii);
    profile_.extra_tags = board_.extra_tags;
}

BoardRules& BoardRules::operator=(const BoardRules& other)
{
    if (this != &other) {
        board_ = other.board_;
        profile_ = other.profile_;
        profile_.extra_tags = board_.extra_tags;
    }
    return *this;
}
