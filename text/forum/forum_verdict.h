// Whether a forum takes a post at all, as its own posting code decides
// before it stores it: the length against the limit, the shortest post it
// takes, the pictures against its limit, a size over its largest. Pure text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/forum/forum_profile.h"
#include "text/forum/tag_match.h"

enum class PostRefusal : uint8_t {
    none,
    empty,             // nothing a reader would see
    too_short,         // less text than the forum's shortest post
    too_long,          // longer than the limit
    too_many_pictures, // more pictures than the forum's limit
    size_too_large,    // a [size=] larger than the forum's largest
};

struct PostVerdict {
    PostRefusal refusal = PostRefusal::none;
    size_t length = 0;   // forum_length() of the post
    size_t pictures = 0; // as the forum counts them against its limit
    size_t offset = 0;   // size too large, too many pictures: the tag that does it
    size_t tag_length = 0;
};

// The forum's verdict on the post under `limit` (the profile's default
// limit or the user's own), with the tags as match_tags() gives them. The
// first of the forum's own checks that fails is the one given.
PostVerdict judge_post(std::string_view post, const std::vector<MatchedTag>& tags, const ForumProfile& profile,
                       uint32_t limit);

// Whether the forum refuses the whole post for this [size=] value.
bool size_refuses_post(const ForumProfile& profile, std::string_view value);

// The characters a reader sees: the post without the tags laid out as
// markup and without what removed quotes hold, from its first character
// that is not blank to its last. Blank: white space, controls, format
// characters (marks of direction, joiners, U+FEFF).
size_t visible_characters(std::string_view post, const std::vector<MatchedTag>& tags);
