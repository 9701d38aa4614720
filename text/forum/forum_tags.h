// The tags this editor knows, from all the forums it writes for, and the
// values they take. Which of them a forum lays out, and with which values,
// its profile says (text/forum/forum_profile.h); the scanner that finds them
// in a post is text/forum/tag_scanner.h. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ForumTagId : uint8_t { b, i, u, s, url, email, img, quote, code, center, size, color, hr, list, item, li };

// What "=value" a tag takes. A tag written with a value it does not take,
// or without one it needs, is not a tag but plain text; a forum profile
// names a size or list style it does not take as a problem instead.
enum class TagValue : uint8_t {
    none,          // [b]
    size,          // [size=14px]: required, 1 to 999 pixels, "px" optional
    color,         // [color=#FF0000]: required, #RRGGBB, #RGB or a colour name
    optional_text, // [url=...], [quote=name]: any text, or none
    list_style,    // [list=1], [list=a], [list=A], or none
};

// What the preview makes of the text a tag encloses.
enum class PreviewAction : uint8_t {
    bold,
    italic,
    underline,
    strikeout,
    link,       // blue and underlined
    picture,    // the address inside is shown as a picture
    quote,      // indented block under a header line
    code,       // monospace block, contents literal
    center,     // centred block
    text_size,  // the value, in pixels
    text_color, // the value
    rule,       // a horizontal line
    list,       // indented block of items
    list_item,  // a bullet (or number) that starts an item
};

// How the preview shows a tag that a board's administrator added: as one of
// this editor's own tags would look, or its text plain in a box.
enum class ExtraLook : uint8_t { bold, center, strike, quote, code, rule, link, picture, box };
inline constexpr size_t EXTRA_LOOK_COUNT = 9;

// A tag a board's administrator added (phpBB's custom BBCodes, SMF's and
// MyBB's added codes). Its name is in lower case; it takes an "=value" or
// none, as its definition says; a rule stands alone, the others are closed.
struct ExtraTag {
    std::string name;
    bool takes_value = false;
    ExtraLook look = ExtraLook::box;

    bool operator==(const ExtraTag&) const = default;
};

struct ForumTag {
    ForumTagId id;
    std::string_view name; // canonical, lower case
    TagValue value;
    bool needs_close; // false: the tag stands alone and has no close form
    PreviewAction preview;
};

// Indexed by ForumTagId.
inline constexpr ForumTag FORUM_TAGS[] = {
    {ForumTagId::b, "b", TagValue::none, true, PreviewAction::bold},
    {ForumTagId::i, "i", TagValue::none, true, PreviewAction::italic},
    {ForumTagId::u, "u", TagValue::none, true, PreviewAction::underline},
    {ForumTagId::s, "s", TagValue::none, true, PreviewAction::strikeout},
    {ForumTagId::url, "url", TagValue::optional_text, true, PreviewAction::link},
    {ForumTagId::email, "email", TagValue::optional_text, true, PreviewAction::link},
    {ForumTagId::img, "img", TagValue::none, true, PreviewAction::picture},
    {ForumTagId::quote, "quote", TagValue::optional_text, true, PreviewAction::quote},
    {ForumTagId::code, "code", TagValue::none, true, PreviewAction::code},
    {ForumTagId::center, "center", TagValue::none, true, PreviewAction::center},
    {ForumTagId::size, "size", TagValue::size, true, PreviewAction::text_size},
    {ForumTagId::color, "color", TagValue::color, true, PreviewAction::text_color},
    {ForumTagId::hr, "hr", TagValue::none, false, PreviewAction::rule},
    {ForumTagId::list, "list", TagValue::list_style, true, PreviewAction::list},
    {ForumTagId::item, "*", TagValue::none, false, PreviewAction::list_item},
    // SMF's item, closed: [li]...[/li].
    {ForumTagId::li, "li", TagValue::none, true, PreviewAction::list_item},
};

inline constexpr size_t FORUM_TAG_COUNT = std::size(FORUM_TAGS);

constexpr const ForumTag& forum_tag(ForumTagId id)
{
    return FORUM_TAGS[static_cast<size_t>(id)];
}

// The tag of that name, in any letter case; nullptr for an unknown name.
const ForumTag* find_forum_tag(std::string_view name);

// Whether the forum lays the tag out as a block of its own lines, so that
// it also ends a word that runs up to it.
bool is_block_tag(ForumTagId id);

// Whether what the tag encloses is taken literally, up to its own close:
// [code] and the address of an [img].
constexpr bool is_literal_tag(ForumTagId id)
{
    return id == ForumTagId::code || id == ForumTagId::img;
}

// The pixels of a [size=] value ("14px", "14"), 1 to 999.
std::optional<int> size_value_pixels(std::string_view value);

// The colour of a [color=] value as 0xRRGGBB: "#RRGGBB", "#RGB" or one of
// the colour names that browsers know best ("red", "navy", ...).
std::optional<uint32_t> color_value_rgb(std::string_view value);

// Whether the value suits a tag that takes that kind of value. An empty
// value here means "[name]" written with no "=" at all.
bool accepts_value(TagValue kind, bool has_value, std::string_view value);
// The tag of this editor's that an extra tag of that look behaves as.
ForumTagId stand_in_tag(ExtraLook look);

