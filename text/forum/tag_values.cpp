#include "text/forum/tag_values.h"

#include <algorithm>
#include <initializer_list>

#include "text/forum/forum_tags.h"
#include "text/unicode/ascii_case.h"

namespace {

// The size of this editor's text, against which a forum's [size=] is weighed.
constexpr double EDITOR_BASE_PIXELS = 13;

constexpr bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool is_ascii_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool is_hex_digit(char c)
{
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool all_of_text(std::string_view text, bool (*test)(char))
{
    return std::all_of(text.begin(), text.end(), test);
}

// s9e's SimpletextFilter: /^[- +,.0-9A-Za-z_]+$/.

// "rgb(" then three numbers of up to three digits with commas, the

// spaces `spaces` allows, and ")"; rgba() has a fourth, a decimal.

bool is_rgb_function(std::string_view value, bool alpha)
{
    const std::string_view open = alpha ? "rgba(" : "rgb(";
    if (!starts_with_ignoring_case(value, open) || value.back() != ')')
        return false;
    std::string_view rest = value.substr(open.size(), value.size() - open.size() - 1);
    for (int part = 0; part < (alpha ? 4 : 3); ++part) {
        if (part > 0) {
            if (rest.empty() || rest[0] != ',')
                return false;
            rest.remove_prefix(1);
            while (!rest.empty() && rest[0] == ' ')
                rest.remove_prefix(1);
        }
        size_t digits = 0;
        while (digits < rest.size() && (is_digit(rest[digits]) || (part == 3 && rest[digits] == '.')))
            ++digits;
        if (digits == 0 || (part < 3 && digits > 3))
            return false;
        rest.remove_prefix(digits);
    }
    return rest.empty();
}

bool is_hex_of_length(std::string_view digits, std::initializer_list<size_t> lengths)
{
    return std::find(lengths.begin(), lengths.end(), digits.size()) != lengths.end() && all_of_text(digits, is_hex_digit);
}

} // namespace

bool is_simple_text(std::string_view value)
{
    return !value.empty() && all_of_text(value, [](char c) {
        return is_ascii_letter(c) || is_digit(c) || c == '-' || c == ' ' || c == '+' || c == ',' || c == '.' || c == '_';
    });
}

bool color_taken(ColorForm form, std::string_view value)
{
    const bool hashed = !value.empty() && value[0] == '#';
    const std::string_view after_hash = hashed ? value.substr(1) : value;
    switch (form) {
    case ColorForm::named:
        return color_value_rgb(value).has_value();
    case ColorForm::s9e:
        return (hashed && is_hex_of_length(after_hash, {3, 4, 6, 8})) || is_rgb_function(value, false) ||
               is_rgb_function(value, true) || (!value.empty() && all_of_text(value, is_ascii_letter));
    case ColorForm::mybb:
        return all_of_text(value, is_ascii_letter) || is_hex_of_length(after_hash, {3, 6});
    case ColorForm::smf:
        return (hashed && is_hex_of_length(after_hash, {3, 6})) || is_rgb_function(value, false) ||
               (!value.empty() && value.size() <= 20 && all_of_text(value, is_ascii_letter));
    }
    return false;
}

bool img_value_taken(ImgValue form, std::string_view value)
{
    switch (form) {
    case ImgValue::none:
        return false;
    case ImgValue::address:
        return !value.empty();
    case ImgValue::dimensions: {
        const size_t x = value.find_first_of("xX");
        const auto number = [](std::string_view digits) {
            return !digits.empty() && digits[0] != '0' && all_of_text(digits, [](char c) { return is_digit(c); });
        };
        return x != std::string_view::npos && number(value.substr(0, x)) && number(value.substr(x + 1));
    }
    }
    return false;
}

bool url_value_taken(UrlValue form, std::string_view value)
{
    if (form == UrlValue::any)
        return true;
    // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
    size_t end = 0;
    while (end < value.size() && (is_ascii_letter(value[end]) || (end > 0 && (is_digit(value[end]) || value[end] == '+' ||
                                                                             value[end] == '-' || value[end] == '.'))))
        ++end;
    if (end == 0 || end >= value.size() || value[end] != ':')
        return true;
    const std::string_view scheme = value.substr(0, end);
    return equals_ignoring_case(scheme, "http") || equals_ignoring_case(scheme, "https") ||
           equals_ignoring_case(scheme, "ftp");
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
    // A forum names the sizes, colours and list styles it refuses.
    if (id == ForumTagId::img && has_value)
        return img_value_taken(profile.img_value, value) ? std::optional(TagStanding::taken) : std::nullopt;
    if (id == ForumTagId::url && has_value && !url_value_taken(profile.url_value, value))
        return TagStanding::refused;
    switch (tag.value) {
    case TagValue::color:
        if (!has_value)
            return std::nullopt;
        return color_taken(profile.color_form, value) ? TagStanding::taken : TagStanding::refused;
    case TagValue::size:
        if (!has_value || value.empty())
            return std::nullopt;
        return size_value_in_pixels(profile, value, EDITOR_BASE_PIXELS) ? TagStanding::taken : TagStanding::refused;
    case TagValue::list_style:
        if (!has_value)
            return TagStanding::taken;
        if (value.empty())
            return std::nullopt;
        if (value.size() == 1 && profile.list_styles.find(value[0]) != std::string_view::npos)
            return TagStanding::taken;
        return profile.list_style_words && is_simple_text(value) ? TagStanding::taken : TagStanding::refused;
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
