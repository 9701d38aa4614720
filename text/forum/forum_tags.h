// The tags this editor knows, from all the forums it writes for, and a
// scanner that finds them in a post. Which of them a forum lays out, and
// with which values, its profile says (text/forum/forum_profile.h). Pure text: no
// Windows headers.
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

struct ForumProfile;

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

// The pixels of a [size=] value ("14px", "14"), 1 to 999.
std::optional<int> size_value_pixels(std::string_view value);

// The colour of a [color=] value as 0xRRGGBB: "#RRGGBB", "#RGB" or one of
// the colour names that browsers know best ("red", "navy", ...).
std::optional<uint32_t> color_value_rgb(std::string_view value);

// Whether the value suits a tag that takes that kind of value. An empty
// value here means "[name]" written with no "=" at all.
bool accepts_value(TagValue kind, bool has_value, std::string_view value);

// How a forum takes a tag it recognises.
enum class TagStanding : uint8_t {
    taken,     // a tag of the forum's, with a value it takes
    unknown,   // a tag of this editor's that the forum does not know
    refused,   // a size or list style the forum does not take
};

// One recognised tag as it stands in the post.
struct TagToken {
    ForumTagId id;
    bool closing;
    size_t offset;          // of its "["
    size_t length;          // up to and including its "]"
    std::string_view value; // after "=" in an open tag; empty otherwise
    TagStanding standing = TagStanding::taken;
    // One of the board's extra tags (its index), which `id` stands in for:
    // the tag of this editor's that looks as it does.
    uint16_t extra = NOT_EXTRA;

    static constexpr uint16_t NOT_EXTRA = UINT16_MAX;
    bool is_extra() const { return extra != NOT_EXTRA; }
};

// The tag of this editor's that an extra tag of that look behaves as.
ForumTagId stand_in_tag(ExtraLook look);

// Finds the tags of a post that the profile recognises, in order: this
// editor's own tags for "Tento editor"; for a forum, also the tags it does
// not know and the sizes and list styles it refuses. Text between [code]
// and its [/code], and the address between [img] and its [/img], is
// literal: no tags are looked for in it. A [code] or [img] with no close
// anywhere after it is given like any other unclosed tag, and the text
// after it is scanned as usual. Linear in the length of the post, whatever
// it holds.
class TagScanner {
public:
    explicit TagScanner(std::string_view post);
    TagScanner(std::string_view post, const ForumProfile& profile);

    // The next tag, or nothing at the end of the post.
    std::optional<TagToken> next();

private:
    std::optional<TagToken> read_tag_at(size_t bracket) const;
    std::optional<TagToken> read_extra_tag(size_t bracket, size_t name_start, size_t name_end, bool closing) const;
    // Where the close of a literal tag stands from `from` on, if anywhere.
    std::optional<TagToken> find_literal_close(const TagToken& open, size_t from);

    std::string_view post_;
    const ForumProfile& profile_;
    size_t longest_name_; // of the tags it looks for, extra tags included
    size_t position_ = 0;
    std::optional<TagToken> pending_close_; // of the literal tag just given
    // A failed search for a literal close fails from every later point too;
    // remembering that keeps many unclosed [code] tags from rescanning.
    bool no_more_close_[2] = {false, false}; // [/code], [/img]
    std::vector<bool> no_more_extra_close_;  // of each extra tag
};
