// The status bar's tag check: the first place where a forum would not take
// the post's markup as meant. Pure text: no Windows headers.
#pragma once

#include "text/forum/forum_profile.h"
#include "text/forum/forum_tags.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/forum/tag_match.h"

enum class TagProblemKind {
    none,
    unclosed, // an open tag that nothing closes
    no_open,  // a close tag that nothing opened
    crossed,  // a close tag that ends its tag while one opened inside it is still open
    too_deep, // an open tag nested deeper than the preview (and a forum) lays out
    unknown_tag,       // a tag the forum does not know: it shows it as typed
    refused_value,     // a size or list style the forum does not take
    quote_removed,     // a quote nested deeper than the forum keeps: it removes it
    too_many_pictures, // the first picture past the forum's limit (smileys included)
};

struct TagProblem {
    TagProblemKind kind = TagProblemKind::none;
    ForumTagId tag = ForumTagId::b;   // the offending tag
    ForumTagId other = ForumTagId::b; // crossed: the tag it crosses
    size_t offset = 0;                // the offending tag's bytes in the post, to select it
    size_t length = 0;
    size_t line = 0; // 1-based; CR LF, LF and CR each end a line
    size_t pictures = 0; // too many pictures: how many the post has

    bool operator==(const TagProblem&) const = default;
};

// The first problem in the post, by the offset of the offending tag, with
// tags matched as match_tags() does:
//  - unclosed: the open tag itself, e.g. the first of "[b]a[b]b[/b]";
//  - no open: the close tag;
//  - crossed: the close tag that comes too early, naming its own tag and the
//    innermost tag still open inside it: in "[b][i]x[/b][/i]" it is "[/b]",
//    crossing [i]. Moving that close behind the other's close mends it;
//  - too deep: the open tag of the first pair nested deeper than the
//    profile's markup depth, which the preview and the counts take as text;
//  - unknown tag, refused value: the tag as the forum shows it, as typed;
//  - quote removed: the open tag of a quote the forum removes;
//  - too many pictures: the picture (an [img] tag, or a smiley code the
//    forum draws as a picture) one past the forum's limit.
// Nothing between [code] and [/code] is looked at, nor an [img] address.
// [hr] and [*] need no close, and their close forms are plain text.
// Linear in the length of the post.
TagProblem check_tags(std::string_view post, const ForumProfile& profile = editor_profile());

// Where the pictures of the post stand, as the profile's forum counts them
// against its limit: the [img] tags it draws and its own smiley codes.
struct PicturePlace {
    size_t offset = 0;
    size_t length = 0;
};
std::vector<PicturePlace> forum_pictures(std::string_view post, const std::vector<MatchedTag>& tags,
                                         const ForumProfile& profile);

