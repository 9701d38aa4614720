// One walk over the matched tags of a post, for everything that reads the
// post as its forum lays it out: the counts, the pictures, the preview. What
// the forum skips (a removed quote, what [code] and [img] hold) is decided
// here once, and each reader is a visitor that hears what the walk meets.
// Pure text.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/forum/tag_match.h"

// What the walk meets, in the order of the post. Each does nothing unless a
// visitor says otherwise.
class TagVisitor {
public:
    virtual ~TagVisitor() = default;

    // Text as the forum shows it, tags shown as typed included; never
    // empty. `offset` is of its first byte in the post; `next` is the markup
    // tag that ends it, or nullptr at the end of the post.
    virtual void text(std::string_view /*text*/, size_t /*offset*/, const TagToken* /*next*/) {}

    // A tag laid out as markup. [hr] and [*] stand alone: an open tag with
    // no close.
    virtual void open(const TagToken& /*tag*/) {}
    virtual void close(const TagToken& /*tag*/) {}

    // What a [code] or an [img] pair holds (see is_literal_tag()), between
    // open(tag) and close(): no tags were looked for in it. Given even when
    // empty; `offset` is of its first byte in the post.
    virtual void literal(const TagToken& /*open*/, std::string_view /*text*/, size_t /*offset*/) {}

    // A quote the forum removes with all it holds, from its open tag to the
    // end of its close; nothing inside it is walked.
    virtual void removed_quote(const TagToken& /*open*/, const TagToken& /*close*/) {}
};

// Walks the post with its tags as match_tags() gave them. Every byte of the
// post is met once: in text, a markup tag, a literal, or a removed quote.
// Linear in the length of the post.
void walk_tags(std::string_view post, const std::vector<MatchedTag>& tags, TagVisitor& visitor);
