#include "text/forum/board.h"
#include "text/forum/board_file.h"
#include "text/forum/post_counts.h"
#include "text/forum/tag_check.h"
#include "text/preview/preview_rtf.h"
#include "rtf_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Board board_of(ForumProfileId forum, std::vector<ExtraTag> tags = {})
{
    Board board;
    board.name = "Klub";
    board.forum = forum;
    board.extra_tags = std::move(tags);
    return board;
}

struct RuleCase {
    const char* what;
    ForumProfileId forum;
    BoardLimit limit;
    std::optional<uint32_t> value; // nothing: the forum's default
    const char* post;
    TagProblemKind expected;
};

const RuleCase RULE_CASES[] = {
    {"phpBB keeps three quotes by default", ForumProfileId::phpbb, BoardLimit::quote_depth, std::nullopt,
     "[quote][quote][quote]x[/quote][/quote][/quote]", TagProblemKind::none},
    {"a board keeping one removes the second", ForumProfileId::phpbb, BoardLimit::quote_depth, 1,
     "[quote][quote]x[/quote][/quote]", TagProblemKind::quote_removed},
    {"0 keeps every quote", ForumProfileId::phpbb, BoardLimit::quote_depth, 0,
     "[quote][quote][quote][quote]x[/quote][/quote][/quote][/quote]", TagProblemKind::none},
    {"phpBB takes 200 percent by default", ForumProfileId::phpbb, BoardLimit::largest_size, std::nullopt,
     "[size=200]x[/size]", TagProblemKind::none},
    {"a board with 150 refuses 180", ForumProfileId::phpbb, BoardLimit::largest_size, 150, "[size=180]x[/size]",
     TagProblemKind::refused_value},
    {"0 takes any size", ForumProfileId::phpbb, BoardLimit::largest_size, 0, "[size=900]x[/size]",
     TagProblemKind::none},
    {"MyBB takes two pictures of ten", ForumProfileId::mybb, BoardLimit::pictures, std::nullopt,
     "[img]http://a/1.png[/img][img]http://a/2.png[/img]", TagProblemKind::none},
    {"a board with one picture refuses the second", ForumProfileId::mybb, BoardLimit::pictures, 1,
     "[img]http://a/1.png[/img][img]http://a/2.png[/img]", TagProblemKind::too_many_pictures},
};

TEST(Board, EachLimitChangesItsRule)
{
    for (const RuleCase& c : RULE_CASES) {
        Board board = board_of(c.forum);
        board.limit(c.limit) = c.value;
        const BoardRules rules(board);
        EXPECT_EQ(check_tags(c.post, rules.profile()).kind, c.expected) << c.what;
    }
}

TEST(Board, LengthLimitIsTheBoardsOrTheForums)
{
    Board board = board_of(ForumProfileId::smf);
    EXPECT_EQ(BoardRules(board).profile().default_limit, 20000u);
    board.limit(BoardLimit::length) = 500;
    EXPECT_EQ(BoardRules(board).profile().default_limit, 500u);
    // A limit the forum has not is not applied, whatever a board holds.
    board.limit(BoardLimit::quote_depth) = 1;
    EXPECT_EQ(BoardRules(board).profile().quote_depth, 0u);
}

struct ExtraCase {
    const char* what;
    ExtraTag tag;
    const char* post;
    TagProblemKind expected;
    size_t characters_without_tags;
};

const ExtraCase EXTRA_CASES[] = {
    {"[center] added to phpBB is taken", {"center", false, ExtraLook::center}, "[center]ab[/center]",
     TagProblemKind::none, 2},
    {"an added tag pairs only with its own close", {"spoiler", false, ExtraLook::box}, "[spoiler]ab[/code]",
     TagProblemKind::unclosed, 18},
    {"a box holds its text as typed", {"spoiler", false, ExtraLook::box}, "[SPOILER][b]ab[/spoiler]",
     TagProblemKind::none, 5},
    {"a tag that takes a value is no tag without it", {"youtube", true, ExtraLook::link}, "[youtube]ab[/youtube]",
     TagProblemKind::no_open, 21},
    {"with its value it is", {"youtube", true, ExtraLook::link}, "[youtube=x1]ab[/youtube]", TagProblemKind::none,
     2},
    {"a tag without a value is no tag with one", {"s", false, ExtraLook::strike}, "[s=1]ab[/s]",
     TagProblemKind::no_open, 11},
    {"a rule stands alone", {"hr", false, ExtraLook::rule}, "a[hr]b", TagProblemKind::none, 2},
    {"a long name is found", {"a_twenty_letter_name", false, ExtraLook::bold},
     "[a_twenty_letter_name]ab[/a_twenty_letter_name]", TagProblemKind::none, 2},
};

TEST(Board, ExtraTagsAreTakenAsTheirDefinitionSays)
{
    for (const ExtraCase& c : EXTRA_CASES) {
        const BoardRules rules(board_of(ForumProfileId::phpbb, {c.tag}));
        EXPECT_EQ(check_tags(c.post, rules.profile()).kind, c.expected) << c.what;
        EXPECT_EQ(count_post(c.post, rules.profile()).characters_without_tags, c.characters_without_tags) << c.what;
    }
    // Without the board's tag phpBB does not know [center].
    EXPECT_EQ(check_tags("[center]ab[/center]", forum_profile(ForumProfileId::phpbb)).kind,
              TagProblemKind::unknown_tag);
}

struct LookCase {
    ExtraTag tag;
    const char* post;
    const char* shown;   // the preview's text
    const char* written; // a piece of its RTF that shows the look
};

const LookCase LOOK_CASES[] = {
    {{"center", false, ExtraLook::center}, "a[center]mid[/center]", "a\nmid", "\\qc mid"},
    {{"fett", false, ExtraLook::bold}, "[fett]x[/fett]", "x", "\\b x"},
    {{"strike", false, ExtraLook::strike}, "[strike]x[/strike]", "x", "\\strike x"},
    {{"hr", false, ExtraLook::rule}, "a[hr]b", "a\n──────────────────────────────\nb", "\\u9472?"},
    // Plain text, as typed, in an indented block: no header, no monospace.
    {{"spoiler", true, ExtraLook::box}, "[spoiler=Konec][b]x[/b][/spoiler]", "[b]x[/b]", "\\li360 [b]x[/b]"},
    {{"kod", false, ExtraLook::code}, "[kod]x[/kod]", "Kód:\nx", "\\f1 x"},
};

TEST(Board, ThePreviewShowsExtraTagsInTheirLooks)
{
    PreviewOptions options;
    options.labels = {"Citace:", "%1 napsal(a):", "Kód:", "[obrázek: %1]"};
    for (const LookCase& c : LOOK_CASES) {
        const BoardRules rules(board_of(ForumProfileId::phpbb, {c.tag}));
        const std::string rtf = render_preview_rtf(c.post, options, rules.profile());
        EXPECT_EQ(rtf::visible_text(rtf), c.shown) << c.post;
        EXPECT_NE(rtf.find(c.written), std::string::npos) << c.post << "\n" << rtf;
    }
}

TEST(Board, APasteMayWriteATagTheBoardAdded)
{
    const ForumProfile& phpbb = forum_profile(ForumProfileId::phpbb);
    EXPECT_FALSE(knows_tag(phpbb, ForumTagId::center));
    const BoardRules centred(board_of(ForumProfileId::phpbb, {{"center", false, ExtraLook::center}}));
    EXPECT_TRUE(knows_tag(centred.profile(), ForumTagId::center));
    EXPECT_TRUE(takes_value(centred.profile(), ForumTagId::center, false, {}));
    EXPECT_FALSE(takes_value(centred.profile(), ForumTagId::center, true, "x"));
    // A [center] that the board shows in bold is no centring.
    const BoardRules bold(board_of(ForumProfileId::phpbb, {{"center", false, ExtraLook::bold}}));
    EXPECT_FALSE(knows_tag(bold.profile(), ForumTagId::center));
}

TEST(Board, CopiedRulesKeepTheirOwnTags)
{
    std::optional<BoardRules> first(std::in_place, board_of(ForumProfileId::phpbb, {{"center", false, ExtraLook::center}}));
    const BoardRules copy = *first;
    first.reset();
    EXPECT_EQ(check_tags("[center]a[/center]", copy.profile()).kind, TagProblemKind::none);
}

TEST(BoardText, ReadsBackWhatItWrites)
{
    Board board = board_of(ForumProfileId::mybb, {{"spoiler", true, ExtraLook::box}, {"hr", false, ExtraLook::rule}});
    board.name = "Můj phpBB „klub“";
    board.limit(BoardLimit::length) = 0;
    board.limit(BoardLimit::pictures) = 3;
    const BoardFileRead read = read_board_text(board_text(board));
    ASSERT_TRUE(read.board) << static_cast<int>(read.error.fault);
    EXPECT_EQ(*read.board, board);
}

struct HostileCase {
    const char* what;
    std::string text;
    BoardFileFault fault;
    size_t line;
};

std::string many_tags(size_t count)
{
    std::string text = "[board]\nname = x\nforum = phpbb\n";
    for (size_t i = 0; i < count; ++i)
        text += "[tag]\nname = t" + std::to_string(i) + "\n";
    return text;
}

// The 1-based line that the byte at `offset` stands on.
size_t line_at(const std::string& text, size_t offset)
{
    return static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n')) + 1;
}

const std::string HEAD = "[board]\nname = Klub\nforum = phpbb\n";

const HostileCase HOSTILE_CASES[] = {
    {"too long", std::string(MAX_BOARD_TEXT + 1, '\n'), BoardFileFault::too_large, MAX_BOARD_TEXT + 1},
    {"a line too long", HEAD + "; " + std::string(MAX_BOARD_LINE, 'x'), BoardFileFault::line_too_long, 4},
    {"invalid UTF-8", HEAD + "\n; \xC3\x28\n", BoardFileFault::not_utf8, 5},
    {"a lone surrogate", "[board]\nname = \xED\xA0\x80\n", BoardFileFault::not_utf8, 2},
    // 10,000 tags are too large a file to read; 65 are too many tags.
    {"10,000 tags", many_tags(10'000), BoardFileFault::too_large, line_at(many_tags(10'000), MAX_BOARD_TEXT)},
    {"65 tags", many_tags(MAX_EXTRA_TAGS + 1), BoardFileFault::too_many_tags, 4 + 2 * MAX_EXTRA_TAGS},
    {"a tag name that is markup", HEAD + "[tag]\nname = b]x[/b\n", BoardFileFault::bad_tag_name, 5},
    {"a tag name in angle brackets", HEAD + "[tag]\nname = <script>\n", BoardFileFault::bad_tag_name, 5},
    {"a tag name too long", HEAD + "[tag]\nname = abcdefghijklmnopqrstu\n", BoardFileFault::bad_tag_name, 5},
    {"a limit that is text", HEAD + "length = many\n", BoardFileFault::not_a_number, 4},
    {"a negative limit", HEAD + "length = -1\n", BoardFileFault::not_a_number, 4},
    {"a limit past 32 bits", HEAD + "length = 99999999999\n", BoardFileFault::out_of_range, 4},
    {"a limit too large", HEAD + "quote_depth = 10000\n", BoardFileFault::out_of_range, 4},
    {"a limit the forum has not", "[board]\npictures = 3\nname = x\nforum = smf\n", BoardFileFault::not_for_forum, 2},
    {"a value that is no yes or no", HEAD + "[tag]\nname = s\nvalue = 1\n", BoardFileFault::not_yes_or_no, 6},
    {"an unknown look", HEAD + "[tag]\nname = s\nlook = blink\n", BoardFileFault::unknown_look, 6},
    {"an unknown forum", "[board]\nname = x\nforum = vbulletin\n", BoardFileFault::unknown_forum, 3},
    {"a repeated key", HEAD + "name = y\n", BoardFileFault::repeated_key, 4},
    {"a repeated tag", HEAD + "[tag]\nname = s\n[tag]\nname = S\n", BoardFileFault::repeated_tag, 7},
    {"an unknown key", HEAD + "colour = red\n", BoardFileFault::unknown_key, 4},
    {"a key before any section", "name = x\n", BoardFileFault::unknown_key, 1},
    {"a second board", HEAD + "[board]\n", BoardFileFault::unknown_section, 4},
    {"a tag before the board", "[tag]\nname = s\n", BoardFileFault::unknown_section, 1},
    {"no board", "; nothing\n", BoardFileFault::no_board, 1},
    {"an empty file", "", BoardFileFault::no_board, 1},
    {"a board without its forum", "[board]\nname = x\n", BoardFileFault::missing_key, 1},
    {"a tag without its name", HEAD + "[tag]\nlook = box\n", BoardFileFault::missing_key, 4},
    {"a name of control characters", "[board]\nname = a\x1B[2J\n", BoardFileFault::bad_name, 2},
    {"a name of blanks", "[board]\nname =   \n", BoardFileFault::bad_name, 2},
    {"a half section", "[board\n", BoardFileFault::not_a_line, 1},
    {"a line of no kind", HEAD + "just words\n", BoardFileFault::not_a_line, 4},
    {"a NUL", HEAD + std::string("length = 1\0", 11) + "\n", BoardFileFault::not_a_number, 4},
};

TEST(BoardText, RefusesDamagedAndHostileTextsNamingTheLine)
{
    for (const HostileCase& c : HOSTILE_CASES) {
        const BoardFileRead read = read_board_text(c.text);
        EXPECT_FALSE(read.board) << c.what;
        EXPECT_EQ(read.error.fault, c.fault) << c.what;
        EXPECT_EQ(read.error.line, c.line) << c.what;
    }
}

TEST(BoardText, TakesCommentsBlanksCrLfAndAByteOrderMark)
{
    const BoardFileRead read = read_board_text(
        "\xEF\xBB\xBF; a board\r\n\r\n[board]\r\n  name =  Klub  \r\nforum=mybb\r\n# tags\r\n[ tag ]\r\nname=spoiler\r\n");
    ASSERT_TRUE(read.board);
    EXPECT_EQ(read.board->name, "Klub");
    EXPECT_EQ(read.board->forum, ForumProfileId::mybb);
    ASSERT_EQ(read.board->extra_tags.size(), 1u);
    EXPECT_EQ(read.board->extra_tags[0], (ExtraTag{"spoiler", false, ExtraLook::box}));
}

} // namespace
