// A reference tag check, written straight from the rules in
// text/forum/tag_match.h and text/forum/tag_check.h with naive searches: every "["
// is tried against every tag, every close looks back for its open, and a
// crossing is found by trying every pair against every other. Quadratic
// and deliberately plain; the host tests and the tag check fuzzer compare
// the real check with it. It shares only the tag table and value rules.
#pragma once

#include "text/forum/forum_tags.h"
#include "text/forum/tag_check.h"
#include "text/forum/tag_match.h"

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace oracle {

struct Tag {
    ForumTagId id;
    bool closing;
    size_t offset;
    size_t length;
    size_t partner = SIZE_MAX;
};

inline bool same_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The tag written at `at`, tried as every form of every tag; length 0 if none.
inline Tag tag_at(std::string_view post, size_t at)
{
    for (const ForumTag& known : FORUM_TAGS) {
        // This editor's own view: a tag no profile of it takes is text.
        if (!knows_tag(editor_profile(), known.id))
            continue;
        const std::string open = "[" + std::string(known.name);
        if (known.needs_close) {
            const std::string close = "[/" + std::string(known.name) + "]";
            if (same_ignoring_case(post.substr(at, close.size()), close))
                return {known.id, true, at, close.size()};
        }
        if (!same_ignoring_case(post.substr(at, open.size()), open) || at + open.size() >= post.size())
            continue;
        const size_t after = at + open.size();
        if (post[after] == ']' && accepts_value(known.value, false, {}))
            return {known.id, false, at, open.size() + 1};
        if (post[after] != '=')
            continue;
        size_t end = after + 1;
        while (end < post.size() && post[end] != ']' && post[end] != '[' && post[end] != '\r' && post[end] != '\n')
            ++end;
        if (end < post.size() && post[end] == ']' && accepts_value(known.value, true, post.substr(after + 1, end - after - 1)))
            return {known.id, false, at, end + 1 - at};
    }
    return {ForumTagId::b, false, at, 0};
}

inline std::vector<Tag> tags_of(std::string_view post)
{
    std::vector<Tag> tags;
    for (size_t at = 0; at < post.size();) {
        const Tag tag = tag_at(post, at);
        if (tag.length == 0) {
            ++at;
            continue;
        }
        tags.push_back(tag);
        at += tag.length;
        // Inside [code] and [img] only their own close counts.
        if (!tag.closing && (tag.id == ForumTagId::code || tag.id == ForumTagId::img)) {
            for (size_t end = at; end < post.size(); ++end) {
                const Tag close = tag_at(post, end);
                if (close.length != 0 && close.closing && close.id == tag.id) {
                    tags.push_back(close);
                    at = end + close.length;
                    break;
                }
            }
        }
    }
    return tags;
}

inline size_t line_of(std::string_view post, size_t offset)
{
    size_t line = 1;
    for (size_t i = 0; i < offset; ++i)
        if (post[i] == '\n' || (post[i] == '\r' && (i + 1 >= post.size() || post[i + 1] != '\n')))
            ++line;
    return line;
}

inline TagProblem check_tags(std::string_view post)
{
    std::vector<Tag> tags = tags_of(post);
    const auto stands_alone = [](const Tag& tag) { return !forum_tag(tag.id).needs_close; };

    // Each close looks back for the nearest unpaired open of its name.
    for (size_t close = 0; close < tags.size(); ++close) {
        if (!tags[close].closing)
            continue;
        for (size_t open = close; open-- > 0;) {
            if (!tags[open].closing && tags[open].id == tags[close].id && tags[open].partner == SIZE_MAX) {
                tags[open].partner = close;
                tags[close].partner = open;
                break;
            }
        }
    }

    // Every broken tag, and the first in the post wins.
    TagProblem first;
    const auto consider = [&](TagProblemKind kind, const Tag& tag, ForumTagId other) {
        if (first.kind != TagProblemKind::none && first.offset <= tag.offset)
            return;
        first = {kind, tag.id, other, tag.offset, tag.length, line_of(post, tag.offset)};
    };
    std::vector<bool> crossing(tags.size(), false);
    for (size_t i = 0; i < tags.size(); ++i) {
        const Tag& tag = tags[i];
        if (stands_alone(tag))
            continue;
        if (tag.partner == SIZE_MAX) {
            consider(tag.closing ? TagProblemKind::no_open : TagProblemKind::unclosed, tag, tag.id);
            continue;
        }
        if (!tag.closing)
            continue;
        // A pair opened inside this one and closed after it: the latest
        // opened is the one named.
        const size_t open = tag.partner;
        for (size_t inner = i; inner-- > open + 1;) {
            const Tag& other = tags[inner];
            if (!other.closing && other.partner != SIZE_MAX && other.partner > i) {
                consider(TagProblemKind::crossed, tag, other.id);
                crossing[i] = crossing[open] = true;
                break;
            }
        }
    }
    // A whole pair inside as many whole pairs as the preview lays out.
    const auto whole = [&](size_t i) { return tags[i].partner != SIZE_MAX && !crossing[i]; };
    for (size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].closing || !whole(i))
            continue;
        size_t enclosing = 0;
        for (size_t outer = 0; outer < i; ++outer)
            enclosing += !tags[outer].closing && whole(outer) && tags[outer].partner > tags[i].partner;
        if (enclosing >= editor_profile().markup_depth)
            consider(TagProblemKind::too_deep, tags[i], tags[i].id);
    }
    return first;
}

} // namespace oracle
