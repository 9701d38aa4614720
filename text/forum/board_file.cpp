#include "text/forum/board_file.h"

#include <algorithm>
#include <array>
#include <bitset>

#include "text/unicode/byte_reader.h"
#include "text/unicode/unicode_text.h"

namespace {

constexpr std::string_view FORUM_KEYS[] = {"editor", "phpbb", "smf", "mybb"};
static_assert(std::size(FORUM_KEYS) == FORUM_PROFILE_COUNT);
constexpr std::string_view LOOK_KEYS[] = {"bold", "center", "strike", "quote", "code",
                                          "rule", "link",   "picture", "box"};
static_assert(std::size(LOOK_KEYS) == EXTRA_LOOK_COUNT);
constexpr std::string_view LIMIT_KEYS[] = {"length", "quote_depth", "largest_size", "pictures"};
static_assert(std::size(LIMIT_KEYS) == BOARD_LIMIT_COUNT);

template <size_t N>
std::optional<size_t> index_of(const std::string_view (&keys)[N], std::string_view key)
{
    const auto found = std::find(std::begin(keys), std::end(keys), key);
    return found == std::end(keys) ? std::nullopt : std::optional(static_cast<size_t>(found - std::begin(keys)));
}

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// The reading of one text: the section it is in and what it has read.
class BoardReader {
public:
    BoardFileError read(std::string_view text);
    Board& board() { return board_; }

private:
    BoardFileFault section(std::string_view name);
    BoardFileFault board_key(std::string_view key, std::string_view value);
    BoardFileFault tag_key(std::string_view key, std::string_view value);
    // Whether the section just read has all it needs; its fault if not.
    BoardFileError finish_section() const;

    enum class Section : uint8_t { none, board, tag };
    Section section_ = Section::none;
    size_t section_line_ = 0;
    size_t line_ = 0;
    std::bitset<8> keys_seen_;
    std::array<size_t, BOARD_LIMIT_COUNT> limit_lines_{};
    bool have_board_ = false;
    Board board_;
};

BoardFileFault BoardReader::section(std::string_view name)
{
    keys_seen_.reset();
    section_line_ = line_;
    if (name == "board" && section_ == Section::none) {
        section_ = Section::board;
        have_board_ = true;
        return BoardFileFault::none;
    }
    if (name == "tag" && have_board_) {
        if (board_.extra_tags.size() >= MAX_EXTRA_TAGS)
            return BoardFileFault::too_many_tags;
        section_ = Section::tag;
        board_.extra_tags.emplace_back();
        return BoardFileFault::none;
    }
    return BoardFileFault::unknown_section;
}

BoardFileFault BoardReader::board_key(std::string_view key, std::string_view value)
{
    if (key == "name") {
        board_.name = value;
        return is_board_name(value) ? BoardFileFault::none : BoardFileFault::bad_name;
    }
    if (key == "forum") {
        const auto forum = index_of(FORUM_KEYS, value);
        if (!forum)
            return BoardFileFault::unknown_forum;
        board_.forum = static_cast<ForumProfileId>(*forum);
        return BoardFileFault::none;
    }
    const auto limit = index_of(LIMIT_KEYS, key);
    if (!limit)
        return BoardFileFault::unknown_key;
    const auto number = parse_number<uint32_t>(value);
    if (!number)
        return value.find_first_not_of("0123456789") == std::string_view::npos && !value.empty()
                   ? BoardFileFault::out_of_range
                   : BoardFileFault::not_a_number;
    if (*number > largest_limit(static_cast<BoardLimit>(*limit)))
        return BoardFileFault::out_of_range;
    board_.limits[*limit] = *number;
    limit_lines_[*limit] = line_;
    return BoardFileFault::none;
}

BoardFileFault BoardReader::tag_key(std::string_view key, std::string_view value)
{
    ExtraTag& tag = board_.extra_tags.back();
    if (key == "name") {
        Board others = {};
        others.extra_tags.assign(board_.extra_tags.begin(), board_.extra_tags.end() - 1);
        switch (extra_tag_fault(others, value)) {
        case ExtraTagFault::bad_name: return BoardFileFault::bad_tag_name;
        case ExtraTagFault::repeated: return BoardFileFault::repeated_tag;
        case ExtraTagFault::too_many: return BoardFileFault::too_many_tags;
        case ExtraTagFault::none: break;
        }
        tag.name = value;
        return BoardFileFault::none;
    }
    if (key == "value") {
        if (value != "yes" && value != "no")
            return BoardFileFault::not_yes_or_no;
        tag.takes_value = value == "yes";
        return BoardFileFault::none;
    }
    if (key == "look") {
        const auto look = index_of(LOOK_KEYS, value);
        if (!look)
            return BoardFileFault::unknown_look;
        tag.look = static_cast<ExtraLook>(*look);
        return BoardFileFault::none;
    }
    return BoardFileFault::unknown_key;
}

BoardFileError BoardReader::finish_section() const
{
    if (section_ == Section::tag && board_.extra_tags.back().name.empty())
        return {BoardFileFault::missing_key, section_line_};
    if (section_ == Section::board && (!keys_seen_[0] || !keys_seen_[1]))
        return {BoardFileFault::missing_key, section_line_};
    return {};
}

BoardFileError BoardReader::read(std::string_view text)
{
    if (text.size() > MAX_BOARD_TEXT)
        return {BoardFileFault::too_large,
                static_cast<size_t>(std::count(text.begin(), text.begin() + MAX_BOARD_TEXT, '\n')) + 1};
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        ++line_;
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!is_valid_utf8(line))
            return {BoardFileFault::not_utf8, line_};
        if (line.size() > MAX_BOARD_LINE)
            return {BoardFileFault::line_too_long, line_};
        line = trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        BoardFileFault fault = BoardFileFault::none;
        if (line.front() == '[') {
            if (line.back() != ']')
                return {BoardFileFault::not_a_line, line_};
            if (const BoardFileError unfinished = finish_section(); unfinished.fault != BoardFileFault::none)
                return unfinished;
            fault = section(trimmed(line.substr(1, line.size() - 2)));
        } else {
            const size_t equals = line.find('=');
            if (equals == std::string_view::npos)
                return {BoardFileFault::not_a_line, line_};
            const std::string_view key = trimmed(line.substr(0, equals));
            const std::string_view value = trimmed(line.substr(equals + 1));
            // Each key has a place of its own in the seen keys: name, forum, then the rest.
            constexpr std::string_view KEYS[] = {"name", "forum", "value", "look",
                                                 "length", "quote_depth", "largest_size", "pictures"};
            const auto slot = index_of(KEYS, key);
            if (section_ == Section::none || !slot)
                return {BoardFileFault::unknown_key, line_};
            if (keys_seen_[*slot])
                return {BoardFileFault::repeated_key, line_};
            keys_seen_[*slot] = true;
            fault = section_ == Section::board ? board_key(key, value) : tag_key(key, value);
        }
        if (fault != BoardFileFault::none)
            return {fault, line_};
    }
    if (!have_board_)
        return {BoardFileFault::no_board, std::max<size_t>(line_, 1)};
    if (const BoardFileError unfinished = finish_section(); unfinished.fault != BoardFileFault::none)
        return unfinished;
    // The forum may come after its limits.
    const std::span<const BoardLimit> adjustable = adjustable_limits(board_.forum);
    for (size_t limit = 0; limit < BOARD_LIMIT_COUNT; ++limit)
        if (board_.limits[limit] &&
            std::find(adjustable.begin(), adjustable.end(), static_cast<BoardLimit>(limit)) == adjustable.end())
            return {BoardFileFault::not_for_forum, limit_lines_[limit]};
    return {};
}

} // namespace

BoardFileRead read_board_text(std::string_view text)
{
    BoardReader reader;
    const BoardFileError error = reader.read(text);
    if (error.fault != BoardFileFault::none)
        return {std::nullopt, error};
    return {std::move(reader.board()), {}};
}

std::string board_text(const Board& board)
{
    std::string text = "[board]\r\nname = ";
    text.append(board.name).append("\r\nforum = ").append(forum_key(board.forum)).append("\r\n");
    for (size_t limit = 0; limit < BOARD_LIMIT_COUNT; ++limit)
        if (board.limits[limit])
            text.append(LIMIT_KEYS[limit]).append(" = ").append(std::to_string(*board.limits[limit])).append("\r\n");
    for (const ExtraTag& tag : board.extra_tags) {
        text.append("\r\n[tag]\r\nname = ").append(tag.name);
        text.append("\r\nvalue = ").append(tag.takes_value ? "yes" : "no");
        text.append("\r\nlook = ").append(look_key(tag.look)).append("\r\n");
    }
    return text;
}

std::string_view forum_key(ForumProfileId forum)
{
    return FORUM_KEYS[static_cast<size_t>(forum)];
}

std::string_view look_key(ExtraLook look)
{
    return LOOK_KEYS[static_cast<size_t>(look)];
}
