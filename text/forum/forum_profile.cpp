#include "text/forum/forum_profile.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "text/unicode/ascii_case.h"

namespace {

constexpr TagSupport M = TagSupport::markup;
constexpr TagSupport U = TagSupport::unknown;
constexpr TagSupport T = TagSupport::text;

// Quotes, lists and the rest nest no deeper than the preview lays out.
constexpr size_t MARKUP_DEPTH = 24;

// MyBB's default smilies, install/resources/mysql_db_inserts.php, longest
// first as strtr() in inc/class_parser.php, parse_smilies(), tries them.
constexpr std::string_view MYBB_SMILEYS[] = {
    ":exclamation:", ":rolleyes:", ":sleepy:", ":angel:", ":arrow:", ":blush:", ":dodgy:", ":heart:",
    ":cool:", ":idea:", ":shy:", ":huh:", ":cry:", ":sick:", ":at:", ":my:", ":-/", ":)", ";)", ":D",
    ":P", ":(", ":@", ":s",
};

// In the order of ForumProfileId; tags in the order of ForumTagId:
//                 b  i  u  s  url email img quote code center size color hr list * li
constexpr ForumProfile PROFILES[] = {
    {
        .id = ForumProfileId::editor,
        // Characters as copied; a line break, however written, is one.
        .counting = {LengthUnit::characters, 1, Trim::none, false, false, false, false},
        .tags = {M, M, M, M, M, M, M, M, M, M, M, M, M, M, M, T},
        .size_form = SizeForm::pixels,
        .largest_size = 999,
        .list_styles = "1aA",
        .quote_depth = 0,
        .picture_limit = 0,
        .smiley_codes = {},
        .markup_depth = MARKUP_DEPTH,
        .default_limit = 60000, // phpBB's, which this editor followed before it had profiles
    },
    {
        .id = ForumProfileId::phpbb,
        // phpBB/phpbb/request/type_cast_helper.php, set_var(): CR LF and CR
        // become LF, NUL goes, trim(), htmlspecialchars(ENT_COMPAT, UTF-8),
        // utf8_normalize_nfc(). phpBB/includes/message_parser.php, parse():
        // "(script|about|applet|activex|chrome):" gets "&#058;" for its colon,
        // and utf8_strlen() of the whole message, tags included, is compared
        // with max_post_chars.
        .counting = {LengthUnit::characters, 1, Trim::php_trim, true, false, true, true},
        // phpBB/phpbb/textformatter/s9e/factory.php, $default_definitions:
        // b, code, color, email, i, img, list, li ([*]), quote, size, u, url.
        .tags = {M, M, M, U, M, M, M, M, M, U, M, M, U, M, M, U},
        // {FONTSIZE}, parser::filter_font_size(): a number, 1 to max_font_size,
        // rendered as "font-size: N%".
        .size_form = SizeForm::percent,
        .largest_size = 200, // max_post_font_size, phpBB/install/schemas/schema_data.sql
        // factory.php, [LIST type={HASHMAP=1:decimal,a:lower-alpha,A:upper-alpha,i:lower-roman,I:upper-roman}]
        .list_styles = "1aAiI",
        // message_parser.php removes quotes nested deeper than max_quote_depth
        // (3, schema_data.sql) with their text: s9e/utils.php, remove_bbcode().
        .quote_depth = 3,
        .picture_limit = 0,
        .smiley_codes = {},
        .markup_depth = MARKUP_DEPTH,
        .default_limit = 60000, // max_post_chars, schema_data.sql
    },
    {
        .id = ForumProfileId::smf,
        // Sources/Post.php, Post2(): $smcFunc['strlen']($_POST['message']) on the
        // message as the browser sent it (CR LF), untrimmed, before
        // htmlspecialchars. Sources/Load.php, 'strlen': an entity of $ent_list
        // (&#N; &quot; &amp; &lt; &gt; &nbsp;) counts as one, any other UTF-8
        // character as one; "." leaves LF alone, which strlen() counts as one
        // byte, so CR LF is two.
        .counting = {LengthUnit::characters, 2, Trim::none, false, true, false, false},
        // Sources/Subs.php, parse_bbc(), $codes.
        .tags = {M, M, M, M, M, M, M, M, M, M, M, M, M, M, M, M},
        // Subs.php, 'size': "[1-9][\d]?p[xt]", CSS keywords, em, or 1 to 7.
        .size_form = SizeForm::css,
        .largest_size = 99,
        // Subs.php, 'list': no "=" value, only "type=" (list-style-type names).
        .list_styles = "",
        .quote_depth = 0,
        .picture_limit = 0,
        .smiley_codes = {},
        .markup_depth = MARKUP_DEPTH,
        .default_limit = 20000, // max_messageLength, other/install_2-1_*.sql
    },
    {
        .id = ForumProfileId::mybb,
        // inc/datahandlers/post.php, verify_message(): trim_blank_chrs(), then
        // strlen() (bytes) of the message as the browser sent it (CR LF).
        .counting = {LengthUnit::bytes, 2, Trim::mybb_blank, false, false, false, false},
        // inc/class_parser.php, cache_mycode(): b, u, i, s, url, email, hr,
        // color, size, font, align; mycode_parse_quotes(), [code], [list], [*].
        .tags = {M, M, M, M, M, M, M, M, M, U, M, M, M, M, M, U},
        // class_parser.php: size xx-small to xx-large, or [0-9+-]+ through
        // mycode_handle_size(), points held to 1 to 50.
        .size_form = SizeForm::mybb,
        .largest_size = 50,
        // class_parser.php, mycode_prepare_list(): [list=(a|A|i|I|1)].
        .list_styles = "1aAiI",
        // maxquotedepth (install/resources/settings.xml) acts only on quote-replying.
        .quote_depth = 0,
        // post.php, verify_image_count(): "<img" in the parsed post, smilies
        // included; maxpostimages 10 (settings.xml).
        .picture_limit = 10,
        .smiley_codes = MYBB_SMILEYS,
        .markup_depth = MARKUP_DEPTH,
        .default_limit = 65535, // maxmessagelength in bytes, settings.xml
    },
};
static_assert(std::size(PROFILES) == FORUM_PROFILE_COUNT);

constexpr bool in_id_order()
{
    for (size_t i = 0; i < std::size(PROFILES); ++i)
        if (static_cast<size_t>(PROFILES[i].id) != i)
            return false;
    return true;
}
static_assert(in_id_order());

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equals_ignoring_case(text.substr(text.size() - suffix.size()), suffix);
}

constexpr bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool all_digits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), is_digit);
}

int digits_value(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = std::min(value * 10 + (c - '0'), 1'000'000);
    return value;
}

// CSS's absolute sizes, in pixels of a 16-pixel "medium".
struct Keyword {
    std::string_view name;
    double pixels;
};
constexpr Keyword CSS_SIZES[] = {{"xx-small", 9},  {"x-small", 10}, {"small", 13},   {"medium", 16},
                                 {"large", 18},    {"x-large", 24}, {"xx-large", 32}};

std::optional<double> keyword_pixels(std::string_view value)
{
    for (const Keyword& keyword : CSS_SIZES)
        if (equals_ignoring_case(keyword.name, value))
            return keyword.pixels;
    return std::nullopt;
}

constexpr double POINT_PIXELS = 96.0 / 72.0;

// A number with an optional fraction: "150", "1.5".
std::optional<double> plain_number(std::string_view text)
{
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    if (!all_digits(whole) || whole.size() > 6)
        return std::nullopt;
    double value = digits_value(whole);
    if (dot == std::string_view::npos)
        return value;
    const std::string_view fraction = text.substr(dot + 1);
    if (!all_digits(fraction) || fraction.size() > 6)
        return std::nullopt;
    return value + digits_value(fraction) / std::pow(10.0, static_cast<double>(fraction.size()));
}

// phpBB's {FONTSIZE}: parser::filter_font_size() takes a number from 1 to
// max_font_size (0: no largest); anything else leaves the tag as typed.
std::optional<double> percent_pixels(std::string_view value, int largest, double base)
{
    const std::optional<double> percent = plain_number(value);
    if (!percent || *percent < 1 || (largest != 0 && *percent > largest))
        return std::nullopt;
    return base * *percent / 100;
}

// SMF's two [size] tests in Sources/Subs.php.
std::optional<double> smf_pixels(std::string_view value, double base)
{
    if (value.size() >= 3 && value.size() <= 4 && value[0] >= '1' && value[0] <= '9' &&
        (value.size() == 3 || is_digit(value[1]))) {
        const std::string_view number = value.substr(0, value.size() - 2);
        if (all_digits(number)) {
            if (ends_with_ignoring_case(value, "px"))
                return digits_value(number);
            if (ends_with_ignoring_case(value, "pt"))
                return digits_value(number) * POINT_PIXELS;
        }
    }
    if (const std::optional<double> keyword = keyword_pixels(value))
        return keyword;
    if (equals_ignoring_case(value, "smaller"))
        return base / 1.2;
    if (equals_ignoring_case(value, "larger"))
        return base * 1.2;
    if (ends_with_ignoring_case(value, "em")) {
        // (0\.[1-9]|[1-9](\.[\d][\d]?)?)?em
        const std::string_view number = value.substr(0, value.size() - 2);
        if (number.empty())
            return base;
        const bool below_one = number.size() == 3 && number.substr(0, 2) == "0." && number[2] >= '1';
        const bool from_one = number[0] >= '1' && number[0] <= '9' &&
                              (number.size() == 1 || (number[1] == '.' && number.size() <= 4 && number.size() >= 3 &&
                                                      all_digits(number.substr(2))));
        if (below_one || from_one)
            return base * *plain_number(number);
        return std::nullopt;
    }
    // 'validate': 1 to 7 become these em.
    constexpr double SEVEN_SIZES[] = {0.7, 1.0, 1.35, 1.45, 2.0, 2.65, 3.95};
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '7')
        return base * SEVEN_SIZES[value[0] - '1'];
    return std::nullopt;
}

// MyBB's [size=]: a keyword, or [0-9+-]+ cast to an integer by PHP and
// held to 1 to 50 points (inc/class_parser.php, mycode_handle_size()).
std::optional<double> mybb_pixels(std::string_view value, int largest)
{
    if (const std::optional<double> keyword = keyword_pixels(value))
        return keyword;
    if (value.empty() || !std::all_of(value.begin(), value.end(), [](char c) { return is_digit(c) || c == '+' || c == '-'; }))
        return std::nullopt;
    // (int) reads an optional sign and the digits after it.
    size_t at = value[0] == '+' || value[0] == '-' ? 1 : 0;
    const bool negative = value[0] == '-';
    size_t end = at;
    while (end < value.size() && is_digit(value[end]))
        ++end;
    const int points = negative ? 0 : digits_value(value.substr(at, end - at));
    return std::clamp(points, 1, largest) * POINT_PIXELS;
}

constexpr double EDITOR_BASE_PIXELS = 13;

// The sizes a forum's own editor offers, as pixels of its usual 13-pixel
// text: phpBB's styles/prosilver/template/posting_buttons.html (50, 85,
// 100, 150, 200 percent) and MyBB's CSS keywords.
struct OfferedSize {
    std::string_view value;
    double pixels;
};
constexpr OfferedSize PHPBB_OFFERED[] = {{"50", 6.5}, {"85", 11.05}, {"100", 13}, {"150", 19.5}, {"200", 26}};
constexpr OfferedSize MYBB_OFFERED[] = {{"xx-small", 9}, {"x-small", 10}, {"small", 13},    {"medium", 16},
                                        {"large", 18},   {"x-large", 24}, {"xx-large", 32}};

template <size_t N>
std::string nearest(const OfferedSize (&offered)[N], int pixels)
{
    const OfferedSize* best = &offered[0];
    for (const OfferedSize& size : offered)
        if (std::abs(size.pixels - pixels) < std::abs(best->pixels - pixels))
            best = &size;
    return std::string(best->value);
}

} // namespace

const ForumProfile& forum_profile(ForumProfileId id)
{
    return PROFILES[static_cast<size_t>(id)];
}

const ForumProfile& editor_profile()
{
    return PROFILES[0];
}

std::optional<ForumProfileId> forum_profile_id(uint32_t stored)
{
    if (stored >= FORUM_PROFILE_COUNT)
        return std::nullopt;
    return static_cast<ForumProfileId>(stored);
}

TagSupport tag_support(const ForumProfile& profile, ForumTagId id)
{
    return profile.tags[static_cast<size_t>(id)];
}

std::optional<TagStanding> tag_standing(const ForumProfile& profile, ForumTagId id, bool closing, bool has_value,
                                        std::string_view value)
{
    const ForumTag& tag = forum_tag(id);
    const TagSupport support = tag_support(profile, id);
    if (support == TagSupport::text)
        return std::nullopt;
    const bool editor_takes = closing ? tag.needs_close : accepts_value(tag.value, has_value, value);
    if (support == TagSupport::unknown || closing || profile.id == ForumProfileId::editor) {
        if (!editor_takes)
            return std::nullopt;
        return support == TagSupport::unknown ? TagStanding::unknown : TagStanding::taken;
    }
    // A forum names the sizes and list styles it refuses.
    switch (tag.value) {
    case TagValue::size:
        if (!has_value || value.empty())
            return std::nullopt;
        return size_value_in_pixels(profile, value, EDITOR_BASE_PIXELS) ? TagStanding::taken : TagStanding::refused;
    case TagValue::list_style:
        if (!has_value)
            return TagStanding::taken;
        if (value.empty())
            return std::nullopt;
        return value.size() == 1 && profile.list_styles.find(value[0]) != std::string_view::npos ? TagStanding::taken
                                                                                                 : TagStanding::refused;
    default:
        break;
    }
    return editor_takes ? std::optional(TagStanding::taken) : std::nullopt;
}

// A board's extra tag that has this editor's tag's name and behaves as it does.
static const ExtraTag* extra_as(const ForumProfile& profile, ForumTagId id)
{
    const auto same = std::find_if(profile.extra_tags.begin(), profile.extra_tags.end(),
                                   [id](const ExtraTag& extra) { return extra.name == forum_tag(id).name; });
    return same != profile.extra_tags.end() && stand_in_tag(same->look) == id ? &*same : nullptr;
}

bool knows_tag(const ForumProfile& profile, ForumTagId id)
{
    return tag_support(profile, id) == TagSupport::markup || extra_as(profile, id);
}

bool takes_value(const ForumProfile& profile, ForumTagId id, bool has_value, std::string_view value)
{
    if (const ExtraTag* extra = extra_as(profile, id))
        return extra->takes_value == has_value && (!has_value || !value.empty());
    return tag_standing(profile, id, false, has_value, value) == TagStanding::taken;
}

std::string size_value_for(const ForumProfile& profile, int pixels)
{
    switch (profile.size_form) {
    case SizeForm::percent:
        return nearest(PHPBB_OFFERED, pixels);
    case SizeForm::mybb:
        return nearest(MYBB_OFFERED, pixels);
    case SizeForm::pixels:
    case SizeForm::css:
        break;
    }
    return std::to_string(pixels) + "px";
}

std::optional<double> size_value_in_pixels(const ForumProfile& profile, std::string_view value, double base_pixels)
{
    switch (profile.size_form) {
    case SizeForm::pixels:
        if (const std::optional<int> pixels = size_value_pixels(value))
            return *pixels;
        return std::nullopt;
    case SizeForm::percent:
        return percent_pixels(value, profile.largest_size, base_pixels);
    case SizeForm::css:
        return smf_pixels(value, base_pixels);
    case SizeForm::mybb:
        return mybb_pixels(value, profile.largest_size);
    }
    return std::nullopt;
}

std::string with_sizes_for(const ForumProfile& profile, std::string_view markup)
{
    if (profile.size_form == SizeForm::pixels)
        return std::string(markup);
    constexpr std::string_view OPEN = "[size=";
    std::string written;
    size_t copied = 0;
    for (size_t at = markup.find(OPEN); at != std::string_view::npos; at = markup.find(OPEN, at + 1)) {
        const size_t value_start = at + OPEN.size();
        const size_t value_end = markup.find(']', value_start);
        if (value_end == std::string_view::npos)
            break;
        const std::optional<int> pixels = size_value_pixels(markup.substr(value_start, value_end - value_start));
        if (!pixels)
            continue;
        written.append(markup.substr(copied, value_start - copied)).append(size_value_for(profile, *pixels));
        copied = value_end;
    }
    return written.append(markup.substr(copied));
}
