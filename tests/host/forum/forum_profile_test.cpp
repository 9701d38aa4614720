// Each forum's profile against what its own source does, one table per
// forum; each row names the function whose behaviour it pins.
#include "text/forum/forum_profile.h"
#include "text/forum/post_counts.h"
#include "text/preview/preview_rtf.h"
#include "text/forum/tag_check.h"
#include "rtf_reader.h"
#include "text_generators.h"
#include "text/unicode/unicode_normalization.h"
#include "text/unicode/unicode_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace {

struct LengthRow {
    std::string post;
    size_t length;
    std::string_view source;
};

struct TagRow {
    std::string post;
    TagProblemKind kind;
    size_t offset;
    std::string_view source;
};

void expect_lengths(ForumProfileId id, std::initializer_list<LengthRow> rows)
{
    for (const LengthRow& row : rows)
        EXPECT_EQ(count_post(row.post, forum_profile(id)).length, row.length)
            << testing::PrintToString(row.post) << " -- " << row.source;
}

void expect_problems(ForumProfileId id, std::initializer_list<TagRow> rows)
{
    for (const TagRow& row : rows) {
        const TagProblem problem = check_tags(row.post, forum_profile(id));
        EXPECT_EQ(problem.kind, row.kind) << row.post << " -- " << row.source;
        if (row.kind != TagProblemKind::none)
            EXPECT_EQ(problem.offset, row.offset) << row.post << " -- " << row.source;
    }
}

std::string repeated(std::string_view piece, size_t times)
{
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string shown(std::string_view post, ForumProfileId id)
{
    return rtf::visible_text(render_preview_rtf(post, {}, forum_profile(id)));
}

TEST(PhpbbProfile, MeasuresThePostAsTheRequestLayerLeavesIt)
{
    expect_lengths(ForumProfileId::phpbb, {
        {"a & b", 9, "type_cast_helper::set_var(): htmlspecialchars, & is &amp;"},
        {"\"x\"", 13, "set_var(): \" is &quot;"},
        {"it's", 4, "set_var(): ENT_COMPAT leaves ' alone"},
        {"<b>", 9, "set_var(): &lt; and &gt;"},
        {" \t ahoj \n\n ", 4, "set_var(): trim()"},
        {"\xC2\xA0" "ahoj", 5, "set_var(): trim() leaves the no-break space"},
        {"a\r\nb\rc", 5, "set_var(): CR LF and CR become LF"},
        {std::string("a\0b", 3), 2, "set_var(): NUL removed"},
        {"ka\xCC\x81va", 4, "set_var(): utf8_normalize_nfc() makes a + U+0301 one"},
        {"😀 ❤️", 4, "message_parser::parse(): utf8_strlen() counts code points"},
        {"javascript:x", 17, "message_parser::parse(): the colon of script: is &#058;"},
        {"[center]x[/center]", 18, "message_parser::parse(): the whole message, tags and all"},
    });
}

TEST(PhpbbProfile, KnowsItsDefaultTagsSizesAndQuoteDepth)
{
    expect_problems(ForumProfileId::phpbb, {
        {"[b]x[/b] [list=i][*]y[/list] [size=150]z[/size]", TagProblemKind::none, 0, "factory.php $default_definitions"},
        {"a\n[center]x[/center]", TagProblemKind::unknown_tag, 2, "factory.php: no [center]"},
        {"[hr]", TagProblemKind::unknown_tag, 0, "factory.php: no [hr]"},
        {"[s]x[/s]", TagProblemKind::unknown_tag, 0, "factory.php: no [s]"},
        {"x\n[size=30px]y[/size]", TagProblemKind::refused_value, 2, "parser::filter_font_size(): a number"},
        {"[size=250]y[/size]", TagProblemKind::refused_value, 0, "filter_font_size(): max_font_size 200"},
        {"[quote][quote][quote]three[/quote][/quote][/quote]", TagProblemKind::none, 0, "max_quote_depth 3"},
        {"[quote][quote][quote][quote]four[/quote][/quote][/quote][/quote]", TagProblemKind::quote_removed, 21,
         "utils::remove_bbcode(): the quote inside three"},
    });
    EXPECT_EQ(check_tags("x\n[size=30px]y[/size]", forum_profile(ForumProfileId::phpbb)).line, 2u);
}

TEST(PhpbbProfile, PreviewLeavesOutDeepQuotesAndShowsUnknownTagsAsTyped)
{
    const std::string post = "[quote]1[quote]2[quote]3[quote]čtyři[/quote][/quote][/quote][/quote][center]c[/center]";
    const std::string phpbb = shown(post, ForumProfileId::phpbb);
    EXPECT_EQ(phpbb.find("čtyři"), std::string::npos) << phpbb;
    EXPECT_NE(phpbb.find("3"), std::string::npos) << phpbb;
    EXPECT_NE(phpbb.find("[center]c[/center]"), std::string::npos) << phpbb;
    EXPECT_NE(shown(post, ForumProfileId::editor).find("čtyři"), std::string::npos);
    // What a reader sees and its words leave the removed quote out too.
    EXPECT_EQ(count_post(post, forum_profile(ForumProfileId::phpbb)).words, 4u);
    // 150 % of the 13-pixel text is 19.5 pixels: 30 half points, rounded.
    EXPECT_NE(render_preview_rtf("[size=150]v[/size]", {}, forum_profile(ForumProfileId::phpbb)).find("\\fs30 v"),
              std::string::npos);
}

TEST(SmfProfile, MeasuresTheMessageAsTheBrowserSentIt)
{
    expect_lengths(ForumProfileId::smf, {
        {"a\nb", 4, "Post2(): the CR LF a browser sends is two"},
        {"a & b \"c\" <d>", 13, "Load.php 'strlen': measured before htmlspecialchars"},
        {"&amp; &#269; &nbsp;", 5, "Load.php 'strlen': an entity of $ent_list is one"},
        {"&#1;x", 1, "entity_fix__callback() removes a control number"},
        {"  x  ", 5, "Post2(): no trim before the length check"},
        {"e\xCC\x81 😀", 4, "no normalisation; code points"},
    });
}

TEST(SmfProfile, TakesItsWiderTagSetButNoListStyle)
{
    expect_problems(ForumProfileId::smf, {
        {"[center]x[/center][hr][s]y[/s][size=30px]z[/size][size=7]w[/size]", TagProblemKind::none, 0,
         "Subs.php parse_bbc() $codes"},
        {"[list][li]x[/li][/list]", TagProblemKind::none, 0, "Subs.php 'li' requires a list"},
        {"[size=150]y[/size]", TagProblemKind::refused_value, 0, "Subs.php 'size': 1 to 99 px or pt"},
        {"[list=1][*]x[/list]", TagProblemKind::refused_value, 0, "Subs.php 'list': only type="},
    });
    EXPECT_NE(shown("[list][li]jedna[/li][li]dvě[/li][/list]", ForumProfileId::smf).find("dvě"), std::string::npos);
}

TEST(MybbProfile, MeasuresBytesAfterTrimmingBlanks)
{
    expect_lengths(ForumProfileId::mybb, {
        {"č", 2, "verify_message(): strlen() counts bytes"},
        {"😀", 4, "verify_message(): an emoji is four bytes"},
        {"a\nb", 4, "verify_message(): CR LF as sent, two bytes"},
        {" \xC2\xA0x\xE2\x81\xA0\n", 1, "trim_blank_chrs(): U+00A0 at the start, U+2060 at the end"},
        {"\xE2\x81\xA0x", 4, "trim_blank_chrs(): U+2060 only at the end"},
        {"a & b", 5, "no escaping before the check"},
    });
}

TEST(MybbProfile, CountsPicturesWithItsSmileys)
{
    const std::string picture = "[img]http://f/p.png[/img]";
    const std::string eleven = repeated(picture, 11);
    expect_problems(ForumProfileId::mybb, {
        {repeated(picture, 10), TagProblemKind::none, 0, "verify_image_count(): maxpostimages 10"},
        {eleven, TagProblemKind::too_many_pictures, 10 * picture.size(), "verify_image_count(): the eleventh"},
        {repeated(picture, 10) + " :)", TagProblemKind::too_many_pictures, 10 * picture.size() + 1,
         "settings.xml: smilies included"},
        {repeated(picture, 10) + " [code]:)[/code] http://x/:) [img]x.png[/img]", TagProblemKind::none, 0,
         "parse_message(): no smilies in code or links; [img] needs http"},
        {"[center]x[/center]", TagProblemKind::unknown_tag, 0, "cache_mycode(): no [center]"},
        {"[size=x-large]x[/size][size=5]y[/size]", TagProblemKind::none, 0, "cache_mycode(): keywords and points"},
        {"[size=14px]x[/size]", TagProblemKind::refused_value, 0, "cache_mycode(): no px"},
    });
    EXPECT_EQ(check_tags(eleven, forum_profile(ForumProfileId::mybb)).pictures, 11u);
}

TEST(ForumProfiles, EditorProfileKeepsTodaysRules)
{
    const ForumProfile& editor = editor_profile();
    EXPECT_EQ(editor.default_limit, 60000u);
    EXPECT_EQ(count_post(" a\r\nb ", editor).length, 5u);
    EXPECT_EQ(check_tags("[li]x[center]y[/center]", editor).kind, TagProblemKind::none);
    EXPECT_EQ(check_tags("[size=x-large]a", editor).kind, TagProblemKind::none);
}

TEST(ForumProfiles, AnswerWhatAForumKnowsForMarkupWriters)
{
    EXPECT_FALSE(knows_tag(forum_profile(ForumProfileId::phpbb), ForumTagId::center));
    EXPECT_TRUE(knows_tag(forum_profile(ForumProfileId::smf), ForumTagId::li));
    EXPECT_TRUE(takes_value(forum_profile(ForumProfileId::phpbb), ForumTagId::size, true, "150"));
    EXPECT_FALSE(takes_value(forum_profile(ForumProfileId::phpbb), ForumTagId::size, true, "30px"));
    EXPECT_TRUE(takes_value(forum_profile(ForumProfileId::mybb), ForumTagId::size, true, "xx-large"));
    EXPECT_FALSE(forum_profile_id(4));
}

TEST(ForumProfiles, CommandsWriteEachForumsSizes)
{
    struct Row {
        ForumProfileId id;
        std::string_view written;
    } rows[] = {
        {ForumProfileId::editor, "[size=22px] [size=30px][hr]\n[size=14px]"},
        {ForumProfileId::phpbb, "[size=150] [size=200][hr]\n[size=100]"},
        {ForumProfileId::smf, "[size=22px] [size=30px][hr]\n[size=14px]"},
        {ForumProfileId::mybb, "[size=x-large] [size=xx-large][hr]\n[size=small]"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(with_sizes_for(forum_profile(row.id), "[size=22px] [size=30px][hr]\n[size=14px]"), row.written);
}

// phpBB's and MyBB's steps written out one by one, as their sources take
// them, on the whole text: the single walk of forum_length() must agree.
std::string replaced(std::string text, std::string_view from, std::string_view to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string php_trim(std::string text)
{
    constexpr std::string_view BLANKS{" \t\n\r\0\x0B", 6};
    const size_t first = text.find_first_not_of(BLANKS);
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(BLANKS) + 1 - first);
}

size_t phpbb_steps(std::string text)
{
    text = replaced(replaced(text, "\r\n", "\n"), "\r", "\n");
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    text = php_trim(text);
    for (auto [from, to] : {std::pair{"&", "&amp;"}, {"\"", "&quot;"}, {"<", "&lt;"}, {">", "&gt;"}})
        text = replaced(text, from, to);
    text = to_nfc(text);
    size_t colons = 0;
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return std::tolower(static_cast<unsigned char>(c)); });
    for (std::string_view word : {"script:", "about:", "applet:", "activex:", "chrome:"})
        for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1))
            ++colons;
    return count_code_points(text) + 5 * colons;
}

size_t mybb_steps(std::string text)
{
    text = replaced(replaced(replaced(text, "\r\n", "\n"), "\r", "\n"), "\n", "\r\n");
    // trim_blank_chrs() of the characters these posts hold, then trim().
    const std::vector<std::string_view> front = {" ", "\t", "\r", "\n", "\xC2\xA0", "\xE2\x80\x8B"};
    std::vector<std::string_view> back = front;
    back.push_back("\xE2\x81\xA0");
    for (bool cut = true; cut;) {
        cut = false;
        for (std::string_view blank : front)
            if (text.starts_with(blank))
                text.erase(0, blank.size()), cut = true;
    }
    for (bool cut = true; cut;) {
        cut = false;
        for (std::string_view blank : back)
            if (text.ends_with(blank))
                text.erase(text.size() - blank.size()), cut = true;
    }
    return php_trim(text).size();
}

TEST(ForumProfiles, OneWalkCountsAsTheForumsStepsDo)
{
    const std::vector<std::string_view> pieces = {"a", "&", "\"", "'", "<", ">", "\r\n", "\n", "\r", " ", "\t",
                                                  std::string_view("\0", 1), "e", "\xCC\x81", "č", "😀", "\xC2\xA0",
                                                  "\xE2\x81\xA0", "\xE2\x80\x8B", "java", "sCrIpt", ":", "about"};
    gen::Random random(24);
    for (int i = 0; i < 3000; ++i) {
        const std::string post = gen::from_pieces(random, pieces, gen::below(random, 40));
        ASSERT_EQ(count_post(post, forum_profile(ForumProfileId::phpbb)).length, phpbb_steps(post))
            << testing::PrintToString(post);
        ASSERT_EQ(count_post(post, forum_profile(ForumProfileId::mybb)).length, mybb_steps(post))
            << testing::PrintToString(post);
    }
}

TEST(ForumProfiles, SizesInEachForumsUnit)
{
    struct Row {
        ForumProfileId id;
        std::string_view value;
        std::optional<double> pixels; // of 13-pixel text
    } rows[] = {
        {ForumProfileId::phpbb, "200", 26},    {ForumProfileId::phpbb, "1.5", 0.195}, {ForumProfileId::phpbb, "0", {}},
        {ForumProfileId::smf, "12pt", 16},     {ForumProfileId::smf, "99px", 99},     {ForumProfileId::smf, "100px", {}},
        {ForumProfileId::smf, "1.5em", 19.5},  {ForumProfileId::smf, "5", 26},        {ForumProfileId::smf, "8", {}},
        {ForumProfileId::smf, "x-large", 24},  {ForumProfileId::mybb, "XX-Large", 32}, {ForumProfileId::mybb, "60", 50 * 4.0 / 3},
        {ForumProfileId::mybb, "-3", 4.0 / 3}, {ForumProfileId::mybb, "14px", {}},    {ForumProfileId::editor, "14", 14},
    };
    for (const Row& row : rows) {
        const std::optional<double> pixels = size_value_in_pixels(forum_profile(row.id), row.value, 13);
        ASSERT_EQ(pixels.has_value(), row.pixels.has_value()) << row.value;
        if (pixels)
            EXPECT_NEAR(*pixels, *row.pixels, 0.01) << row.value;
    }
}

} // namespace
