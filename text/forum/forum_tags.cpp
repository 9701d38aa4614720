#include "text/forum/forum_tags.h"

#include <algorithm>

#include "text/unicode/ascii_case.h"
#include "text/forum/forum_profile.h"

namespace {


constexpr bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr int hex_digit_value(char c)
{
    if (is_digit(c))
        return c - '0';
    c = to_lower_ascii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

constexpr size_t LONGEST_TAG_NAME =
    std::max_element(std::begin(FORUM_TAGS), std::end(FORUM_TAGS), [](const ForumTag& a, const ForumTag& b) {
        return a.name.size() < b.name.size();
    })->name.size();

struct NamedColor {
    std::string_view name;
    uint32_t rgb;
};

constexpr NamedColor NAMED_COLORS[] = {
    {"black", 0x000000},  {"white", 0xFFFFFF},   {"red", 0xFF0000},     {"green", 0x008000},
    {"blue", 0x0000FF},   {"yellow", 0xFFFF00},  {"orange", 0xFFA500},  {"purple", 0x800080},
    {"gray", 0x808080},   {"grey", 0x808080},    {"silver", 0xC0C0C0},  {"maroon", 0x800000},
    {"navy", 0x000080},   {"teal", 0x008080},    {"olive", 0x808000},   {"lime", 0x00FF00},
    {"aqua", 0x00FFFF},   {"fuchsia", 0xFF00FF}, {"brown", 0xA52A2A},   {"pink", 0xFFC0CB},
    {"darkred", 0x8B0000}, {"darkblue", 0x00008B}, {"darkgreen", 0x006400},
};

std::optional<uint32_t> hex_color(std::string_view digits)
{
    uint32_t rgb = 0;
    for (char c : digits) {
        const int value = hex_digit_value(c);
        if (value < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<uint32_t>(value);
    }
    if (digits.size() == 6)
        return rgb;
    if (digits.size() == 3) // #RGB is #RRGGBB with every digit doubled
        return (rgb & 0xF00) * 0x1100 | (rgb & 0x0F0) * 0x110 | (rgb & 0x00F) * 0x11;
    return std::nullopt;
}

// A literal tag's close, "[/code]" or "[/img]", at `at`, in any letter case.
bool is_close_of(std::string_view post, size_t at, std::string_view name)
{
    const size_t length = name.size() + 3;
    return post.size() - at >= length && post[at] == '[' && post[at + 1] == '/' &&
           equals_ignoring_case(post.substr(at + 2, name.size()), name) && post[at + length - 1] == ']';
}

// This editor's own rule, the most asked, without leaving the file.
std::optional<TagStanding> standing_of(const ForumProfile& profile, const ForumTag& tag, bool closing, bool has_value,
                                       std::string_view value)
{
    if (profile.id != ForumProfileId::editor)
        return tag_standing(profile, tag.id, closing, has_value, value);
    if (profile.tags[static_cast<size_t>(tag.id)] == TagSupport::text)
        return std::nullopt;
    const bool fits = closing ? tag.needs_close : accepts_value(tag.value, has_value, value);
    return fits ? std::optional(TagStanding::taken) : std::nullopt;
}

constexpr bool is_literal_tag(ForumTagId id)
{
    return id == ForumTagId::code || id == ForumTagId::img;
}

size_t longest_name(const ForumProfile& profile)
{
    size_t longest = LONGEST_TAG_NAME;
    for (const ExtraTag& extra : profile.extra_tags)
        longest = std::max(longest, extra.name.size());
    return longest;
}

const ExtraTag* find_extra_tag(const ForumProfile& profile, std::string_view name)
{
    for (const ExtraTag& extra : profile.extra_tags)
        if (equals_ignoring_case(extra.name, name))
            return &extra;
    return nullptr;
}

} // namespace

const ForumTag* find_forum_tag(std::string_view name)
{
    for (const ForumTag& tag : FORUM_TAGS)
        if (equals_ignoring_case(tag.name, name))
            return &tag;
    return nullptr;
}

bool is_block_tag(ForumTagId id)
{
    switch (forum_tag(id).preview) {
    case PreviewAction::quote:
    case PreviewAction::code:
    case PreviewAction::center:
    case PreviewAction::rule:
    case PreviewAction::list:
    case PreviewAction::list_item:
        return true;
    default:
        return false;
    }
}

std::optional<int> size_value_pixels(std::string_view value)
{
    if (value.size() > 2 && equals_ignoring_case(value.substr(value.size() - 2), "px"))
        value.remove_suffix(2);
    if (value.empty() || value.size() > 3 || !std::all_of(value.begin(), value.end(), is_digit))
        return std::nullopt;
    int pixels = 0;
    for (char c : value)
        pixels = pixels * 10 + (c - '0');
    if (pixels == 0)
        return std::nullopt;
    return pixels;
}

std::optional<uint32_t> color_value_rgb(std::string_view value)
{
    if (!value.empty() && value.front() == '#')
        return hex_color(value.substr(1));
    for (const NamedColor& color : NAMED_COLORS)
        if (equals_ignoring_case(color.name, value))
            return color.rgb;
    return std::nullopt;
}

bool accepts_value(TagValue kind, bool has_value, std::string_view value)
{
    switch (kind) {
    case TagValue::none:
        return !has_value;
    case TagValue::size:
        return has_value && size_value_pixels(value).has_value();
    case TagValue::color:
        return has_value && color_value_rgb(value).has_value();
    case TagValue::optional_text:
        return !has_value || !value.empty();
    case TagValue::list_style:
        return !has_value || value == "1" || value == "a" || value == "A";
    }
    return false;
}

TagScanner::TagScanner(std::string_view post) : TagScanner(post, editor_profile()) {}

TagScanner::TagScanner(std::string_view post, const ForumProfile& profile)
    : post_(post), profile_(profile), longest_name_(longest_name(profile)),
      no_more_extra_close_(profile.extra_tags.size(), false)
{
}

ForumTagId stand_in_tag(ExtraLook look)
{
    switch (look) {
    case ExtraLook::bold: return ForumTagId::b;
    case ExtraLook::center: return ForumTagId::center;
    case ExtraLook::strike: return ForumTagId::s;
    case ExtraLook::quote: return ForumTagId::quote;
    case ExtraLook::rule: return ForumTagId::hr;
    case ExtraLook::link: return ForumTagId::url;
    case ExtraLook::picture: return ForumTagId::img;
    case ExtraLook::code:
    case ExtraLook::box: break;
    }
    // Both show what they hold as typed.
    return ForumTagId::code;
}

std::optional<TagToken> TagScanner::next()
{
    if (pending_close_) {
        const TagToken close = *pending_close_;
        pending_close_.reset();
        position_ = close.offset + close.length;
        return close;
    }
    for (size_t bracket = post_.find('[', position_); bracket != std::string_view::npos;
         bracket = post_.find('[', bracket + 1)) {
        const std::optional<TagToken> tag = read_tag_at(bracket);
        if (!tag)
            continue;
        position_ = bracket + tag->length;
        if (!tag->closing && is_literal_tag(tag->id))
            pending_close_ = find_literal_close(*tag, position_);
        return tag;
    }
    position_ = post_.size();
    return std::nullopt;
}

std::optional<TagToken> TagScanner::read_tag_at(size_t bracket) const
{
    const size_t size = post_.size();
    size_t name_start = bracket + 1;
    const bool closing = name_start < size && post_[name_start] == '/';
    if (closing)
        ++name_start;
    // A name is short, so a bracket costs only a few steps before the end
    // of its name is known.
    size_t name_end = name_start;
    while (name_end < size && name_end - name_start <= longest_name_ && post_[name_end] != ']' &&
           post_[name_end] != '=')
        ++name_end;
    if (name_end >= size || (post_[name_end] != ']' && post_[name_end] != '='))
        return std::nullopt;
    // The board's own tags come before this editor's of the same name.
    if (!profile_.extra_tags.empty())
        if (auto extra = read_extra_tag(bracket, name_start, name_end, closing))
            return extra;
    const ForumTag* tag = find_forum_tag(post_.substr(name_start, name_end - name_start));
    if (!tag)
        return std::nullopt;

    if (post_[name_end] == ']') {
        const std::optional<TagStanding> standing = standing_of(profile_, *tag, closing, false, {});
        if (!standing)
            return std::nullopt;
        return TagToken{tag->id, closing, bracket, name_end + 1 - bracket, {}, *standing};
    }
    if (closing)
        return std::nullopt;
    // A value ends at "]" on the same line and holds no "[", so that the
    // search for its end never runs past the next bracket: linear overall.
    const size_t value_start = name_end + 1;
    const size_t value_end = post_.find_first_of("[]\r\n", value_start);
    if (value_end == std::string_view::npos || post_[value_end] != ']')
        return std::nullopt;
    const std::string_view value = post_.substr(value_start, value_end - value_start);
    const std::optional<TagStanding> standing = standing_of(profile_, *tag, false, true, value);
    if (!standing)
        return std::nullopt;
    return TagToken{tag->id, false, bracket, value_end + 1 - bracket, value, *standing};
}

std::optional<TagToken> TagScanner::read_extra_tag(size_t bracket, size_t name_start, size_t name_end,
                                                   bool closing) const
{
    const ExtraTag* extra = find_extra_tag(profile_, post_.substr(name_start, name_end - name_start));
    if (!extra)
        return std::nullopt;
    const ForumTagId id = stand_in_tag(extra->look);
    const auto index = static_cast<uint16_t>(extra - profile_.extra_tags.data());
    const bool alone = extra->look == ExtraLook::rule;
    if (post_[name_end] == ']') {
        // A tag that takes a value is no tag without one.
        if (closing ? alone : extra->takes_value)
            return std::nullopt;
        return TagToken{id, closing, bracket, name_end + 1 - bracket, {}, TagStanding::taken, index};
    }
    if (closing || !extra->takes_value)
        return std::nullopt;
    const size_t value_start = name_end + 1;
    const size_t value_end = post_.find_first_of("[]\r\n", value_start);
    if (value_end == std::string_view::npos || post_[value_end] != ']' || value_end == value_start)
        return std::nullopt;
    return TagToken{id,        false, bracket, value_end + 1 - bracket, post_.substr(value_start, value_end - value_start),
                    TagStanding::taken, index};
}

std::optional<TagToken> TagScanner::find_literal_close(const TagToken& open, size_t from)
{
    const bool extra = open.is_extra();
    if (extra ? no_more_extra_close_[open.extra] : no_more_close_[open.id == ForumTagId::code ? 0 : 1])
        return std::nullopt;
    const std::string_view name = extra ? std::string_view(profile_.extra_tags[open.extra].name) : forum_tag(open.id).name;
    for (size_t at = post_.find("[/", from); at != std::string_view::npos; at = post_.find("[/", at + 1))
        if (is_close_of(post_, at, name))
            return TagToken{open.id, true, at, name.size() + 3, {}, TagStanding::taken, open.extra};
    if (extra)
        no_more_extra_close_[open.extra] = true;
    else
        no_more_close_[open.id == ForumTagId::code ? 0 : 1] = true;
    return std::nullopt;
}
