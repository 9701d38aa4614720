#include "text/forum/tag_match.h"

#include <algorithm>

namespace {

bool stands_alone(const TagToken& token)
{
    return !forum_tag(token.id).needs_close;
}

// Rule 0.
void name_what_the_forum_refuses(std::vector<MatchedTag>& tags)
{
    for (MatchedTag& tag : tags) {
        if (tag.token.standing == TagStanding::unknown)
            tag.fault = TagFault::unknown_tag;
        else if (tag.token.standing == TagStanding::refused)
            tag.fault = TagFault::refused_value;
    }
}

// Rule 1: one stack of unpaired open tags per name; a board's extra tags
// come after this editor's.
void pair_by_name(std::vector<MatchedTag>& tags, size_t extra_tags)
{
    std::vector<std::vector<size_t>> open(FORUM_TAG_COUNT + extra_tags);
    for (size_t i = 0; i < tags.size(); ++i) {
        MatchedTag& tag = tags[i];
        if (tag.token.standing != TagStanding::taken)
            continue;
        if (stands_alone(tag.token)) {
            tag.markup = true;
            continue;
        }
        std::vector<size_t>& same_name =
            open[tag.token.is_extra() ? FORUM_TAG_COUNT + tag.token.extra : static_cast<size_t>(tag.token.id)];
        if (!tag.token.closing) {
            same_name.push_back(i);
            tag.fault = TagFault::unclosed; // until a close claims it
        } else if (same_name.empty()) {
            tag.fault = TagFault::no_open;
        } else {
            const size_t opener = same_name.back();
            same_name.pop_back();
            tag.partner = opener;
            tags[opener].partner = i;
            tags[opener].fault = TagFault::none;
            tag.markup = tags[opener].markup = true;
        }
    }
}

// Rule 2. A pair found crossing is dropped from the stack lazily, when it
// comes to the top, so that each open tag is pushed and popped once.
void find_crossings(std::vector<MatchedTag>& tags)
{
    std::vector<size_t> open;
    for (size_t i = 0; i < tags.size(); ++i) {
        MatchedTag& tag = tags[i];
        if (tag.partner == NO_TAG)
            continue;
        if (!tag.token.closing) {
            open.push_back(i);
            continue;
        }
        while (!tags[open.back()].markup) // its own opener is below, so never empty
            open.pop_back();
        if (open.back() == tag.partner) {
            open.pop_back();
            continue;
        }
        tag.fault = TagFault::crossing;
        tag.crossed = open.back();
        tag.markup = tags[tag.partner].markup = false;
    }
}

// Rule 3, over the pairs that nest properly by now.
void limit_markup(std::vector<MatchedTag>& tags, size_t markup_depth)
{
    size_t depth = 0;
    std::vector<ForumTagId> blocks;
    for (MatchedTag& tag : tags) {
        if (!tag.markup)
            continue;
        const ForumTagId id = tag.token.id;
        const bool in_list = !blocks.empty() && blocks.back() == ForumTagId::list;
        if (stands_alone(tag.token)) {
            if (id == ForumTagId::item)
                tag.markup = in_list;
        } else if (tag.token.closing) {
            --depth;
            if (is_block_tag(id))
                blocks.pop_back();
        } else if (depth == markup_depth) {
            tag.markup = tags[tag.partner].markup = false;
            tag.fault = TagFault::too_deep;
        } else if (id == ForumTagId::li && !in_list) {
            tag.markup = tags[tag.partner].markup = false;
        } else {
            ++depth;
            if (is_block_tag(id))
                blocks.push_back(id);
        }
    }
}

// Rule 4.
void remove_deep_quotes(std::vector<MatchedTag>& tags, size_t quote_depth)
{
    if (quote_depth == 0)
        return;
    size_t quotes_open = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        MatchedTag& tag = tags[i];
        if (!tag.markup || tag.token.id != ForumTagId::quote || tag.token.is_extra())
            continue;
        if (tag.token.closing) {
            --quotes_open;
        } else if (quotes_open == quote_depth) {
            tag.fault = TagFault::quote_removed;
            i = tag.partner; // what it holds goes with it
        } else {
            ++quotes_open;
        }
    }
}

} // namespace

std::vector<MatchedTag> match_tags(std::string_view post, const ForumProfile& profile)
{
    // Every tag takes a "[" and a "]": room for that many, allocated once.
    std::vector<MatchedTag> tags;
    tags.reserve(std::min(std::count(post.begin(), post.end(), '['), std::count(post.begin(), post.end(), ']')));
    TagScanner scanner(post, profile);
    while (const std::optional<TagToken> token = scanner.next())
        tags.push_back(MatchedTag{*token});
    name_what_the_forum_refuses(tags);
    pair_by_name(tags, profile.extra_tags.size());
    find_crossings(tags);
    limit_markup(tags, profile.markup_depth);
    remove_deep_quotes(tags, profile.quote_depth);
    return tags;
}
