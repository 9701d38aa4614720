// The forums a post can be written for, each as its own source code takes
// a post: how it measures the length, which tags it lays out and with which
// values, how deep it lets quotes nest, how many pictures it takes, and the
// limit it sets unless its administrator changes it. "Tento editor" is this
// editor's own view, the one it had before there were profiles. Every rule
// names the file and function of the forum it comes from. Pure text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/forum/forum_tags.h"

enum class ForumProfileId : uint8_t { editor, phpbb, smf, mybb };
inline constexpr size_t FORUM_PROFILE_COUNT = 4;

// How a forum takes a tag of this editor's vocabulary.
enum class TagSupport : uint8_t {
    markup,  // lays it out
    unknown, // shows it as typed: a problem, with its line
    text,    // not a tag here at all: plain text, and no problem
};

// The [size=] values a forum takes.
enum class SizeForm : uint8_t {
    pixels,  // "14px" or "14": 1 to 999 pixels
    percent, // a number from 1 to the profile's largest size, in percent of the text
    css,     // 1 to 99 "px" or "pt", CSS keywords, "em", or 1 to 7
    mybb,    // CSS keywords from xx-small to xx-large, or a number of points
};

enum class LengthUnit : uint8_t { characters, bytes };

// What is cut from both ends of a post before it is measured.
enum class Trim : uint8_t {
    none,
    php_trim,  // PHP's trim(): space, tab, LF, CR, NUL, vertical tab
    mybb_blank, // MyBB's trim_blank_chrs(): those and Unicode spaces, joiners and marks of direction
};

struct CountingRule {
    LengthUnit unit;
    // A line break counts once, or twice, as the CR LF that browsers send.
    size_t line_break_length;
    Trim trim;
    // htmlspecialchars(ENT_COMPAT) before measuring: & " < > count as
    // &amp; &quot; &lt; &gt;.
    bool html_escapes_expand;
    // An entity typed as such ("&amp;", "&#39;", "&nbsp;") is one character.
    bool typed_entities_count_one;
    // Measured in Unicode normalisation form C.
    bool nfc;
    // "script:", "about:", "applet:", "activex:", "chrome:" (any case) have
    // their colon written as "&#058;".
    bool script_colons_expand;
};

struct ForumProfile {
    ForumProfileId id;
    CountingRule counting;
    std::array<TagSupport, FORUM_TAG_COUNT> tags;
    SizeForm size_form;
    int largest_size;       // of SizeForm::percent (0: any) and SizeForm::mybb
    std::string_view list_styles; // the [list=X] it takes, one character each
    size_t quote_depth;     // quotes inside this many quotes are removed, their text too; 0: none
    size_t picture_limit;   // 0: none
    // The forum's own smiley codes, which it draws as pictures and counts
    // against the picture limit, longest first.
    std::span<const std::string_view> smiley_codes;
    size_t markup_depth;    // markup nested deeper is shown as typed
    // Of the length, in its unit: the forum's default, or the board's own
    // limit in a board's profile (text/forum/board.h). 0: none.
    uint32_t default_limit;
    // The tags the board's administrator added; none in a forum's own table.
    std::span<const ExtraTag> extra_tags = {};
};

const ForumProfile& forum_profile(ForumProfileId id);
const ForumProfile& editor_profile();

// The profile stored under this number (the registry keeps the id), if any.
std::optional<ForumProfileId> forum_profile_id(uint32_t stored);

TagSupport tag_support(const ForumProfile& profile, ForumTagId id);

// How the profile takes a tag written as an open tag with or without a
// value, or as a close: as a tag, as one the forum does not know or whose
// value it refuses, or not as a tag at all (plain text).
std::optional<TagStanding> tag_standing(const ForumProfile& profile, ForumTagId id, bool closing, bool has_value,
                                        std::string_view value);

// What a caller that writes markup for a forum may ask: whether the forum
// knows the tag, and whether it takes the value (an empty value: the tag
// written without "="). A board's extra tag of the same name and look
// counts as the forum's.
bool knows_tag(const ForumProfile& profile, ForumTagId id);
bool takes_value(const ForumProfile& profile, ForumTagId id, bool has_value, std::string_view value);

// A [size=] value in the profile's own form for a size this editor writes
// in pixels: the nearest of the sizes the forum's own editor offers
// (phpBB 50 to 200 percent, MyBB xx-small to xx-large), pixels elsewhere.
std::string size_value_for(const ForumProfile& profile, int pixels);

// The text size a [size=] value gives, in pixels of text that is
// `base_pixels` large; nothing when the profile does not take the value.
std::optional<double> size_value_in_pixels(const ForumProfile& profile, std::string_view value, double base_pixels);

// The markup with each "[size=Npx]" written in the profile's own form.
std::string with_sizes_for(const ForumProfile& profile, std::string_view markup);
