// How a forum takes the recognised tags of a post: which open and close tags
// belong together, which are broken, and which it lays out as markup rather
// than showing them as typed. The tag check, the counts and the preview all
// read the post through this, so they never disagree. Pure text.
#pragma once

#include "text/forum_tags.h"

#include <cstdint>
#include <string_view>
#include <vector>

enum class TagFault : uint8_t {
    none,
    unclosed, // an open tag that no close of its name pairs with
    no_open,  // a close tag that no open tag of its name pairs with
    crossing, // a close whose open tag encloses another open tag that is closed only after it
    too_deep, // an open tag whose pair would nest deeper than MAX_MARKUP_DEPTH
};

inline constexpr size_t NO_TAG = SIZE_MAX;

// Markup nested deeper than this is shown as typed, so that neither the
// preview's indentation nor its work per tag can grow without bound.
inline constexpr size_t MAX_MARKUP_DEPTH = 24;

struct MatchedTag {
    TagToken token;
    size_t partner = NO_TAG; // index of the other tag of its pair
    size_t crossed = NO_TAG; // of a crossing close: the open tag it crosses
    TagFault fault = TagFault::none;
    bool markup = false; // laid out as markup; shown as typed otherwise
};

// The recognised tags of the post, in order, matched by these rules:
//  1. A close tag pairs with the nearest open tag of its name before it that
//     is not paired yet, as brackets of one kind pair; other names do not
//     matter here. Open tags left over are unclosed, close tags left over
//     have no open. [hr] and [*] stand alone and are never paired.
//  2. Pairs are then walked in order. A close tag whose open tag is not the
//     innermost one still open crosses that innermost open tag; the crossing
//     pair is shown as typed and the crossed one stays markup.
//  3. Markup is what 1 and 2 leave whole, except pairs that would nest deeper
//     than MAX_MARKUP_DEPTH (their open tag is too deep), and [*] that does not stand in a [list] (the
//     innermost block open around it must be a list).
// So the markup pairs always nest properly. Linear in the length of the post.
std::vector<MatchedTag> match_tags(std::string_view post);
