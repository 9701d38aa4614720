// Finds the tags of a post as a forum's profile recognises them. Pure
// text: no Windows headers.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>
#include <string_view>

#include "text/forum/forum_profile.h"
#include "text/forum/forum_tags.h"

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
