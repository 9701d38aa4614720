#include "text/forum/forum_tags.h"

#include <algorithm>

#include "text/unicode/ascii_case.h"

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

