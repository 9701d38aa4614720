// How a forum takes the recognised tags of a post: which open and close tags
// belong together, which are broken, and which it lays out as markup rather
// than showing them as typed. The tag check, the counts and the preview all
// read the post through this, so they never disagree. Pure text.
#pragma once

#include "text/forum/forum_profile.h"
#include "text/forum/forum_tags.h"

#include <cstdint>
#include <string_view>
#include <vector>

enum class TagFault : uint8_t {
    none,
    unclosed, // an open tag that no close of its name pairs with
    no_open,  // a close tag that no open tag of its name pairs with
    crossing, // a close whose open tag encloses another open tag that is closed only after it
    too_deep, // an open tag whose pair would nest deeper than the profile's markup depth
    unknown_tag,   // a tag the forum does not know: shown as typed
    refused_value, // a size or list style the forum does not take: shown as typed
    quote_removed, // the open tag of a quote nested deeper than the forum keeps: the
                   // forum removes it with all it holds, up to its close
};

inline constexpr size_t NO_TAG = SIZE_MAX;

struct MatchedTag {
    TagToken token;
    size_t partner = NO_TAG; // index of the other tag of its pair
    size_t crossed = NO_TAG; // of a crossing close: the open tag it crosses
    TagFault fault = TagFault::none;
    bool markup = false; // laid out as markup; shown as typed otherwise
};

// The tags of the post that the profile recognises, in order, matched by
// these rules:
//  0. A tag the forum does not know, or whose value it refuses, is shown as
//     typed and takes no part in what follows.
//  1. A close tag pairs with the nearest open tag of its name before it that
//     is not paired yet, as brackets of one kind pair; other names do not
//     matter here. Open tags left over are unclosed, close tags left over
//     have no open. [hr] and [*] stand alone and are never paired.
//  2. Pairs are then walked in order. A close tag whose open tag is not the
//     innermost one still open crosses that innermost open tag; the crossing
//     pair is shown as typed and the crossed one stays markup.
//  3. Markup is what 1 and 2 leave whole, except pairs that would nest deeper
//     than the profile's markup depth (their open tag is too deep), and [*]
//     and [li] that do not stand in a [list] (the innermost block open
//     around them must be a list).
//  4. A quote pair inside as many quote pairs as the profile keeps is
//     removed with everything between its tags (its open tag says so).
// So the markup pairs always nest properly. Linear in the length of the post.
std::vector<MatchedTag> match_tags(std::string_view post, const ForumProfile& profile = editor_profile());
