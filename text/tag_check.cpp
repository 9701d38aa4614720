#include "text/tag_check.h"

#include "text/code_points.h"
#include "text/tag_match.h"

namespace {

TagProblemKind problem_kind(TagFault fault)
{
    switch (fault) {
    case TagFault::unclosed:
        return TagProblemKind::unclosed;
    case TagFault::no_open:
        return TagProblemKind::no_open;
    case TagFault::crossing:
        return TagProblemKind::crossed;
    case TagFault::too_deep:
        return TagProblemKind::too_deep;
    case TagFault::none:
        break;
    }
    return TagProblemKind::none;
}

// The 1-based line of a byte offset.
size_t line_number_at(std::string_view post, size_t offset)
{
    size_t line = 1;
    for (size_t at = 0; at < offset && at < post.size(); ++at) {
        const size_t line_break = line_break_length(post, at);
        if (line_break == 0)
            continue;
        ++line;
        at += line_break - 1;
    }
    return line;
}

} // namespace

TagProblem check_tags(std::string_view post)
{
    const std::vector<MatchedTag> tags = match_tags(post);
    for (const MatchedTag& tag : tags) {
        if (tag.fault == TagFault::none)
            continue;
        TagProblem problem;
        problem.kind = problem_kind(tag.fault);
        problem.tag = tag.token.id;
        problem.other = tag.crossed == NO_TAG ? tag.token.id : tags[tag.crossed].token.id;
        problem.offset = tag.token.offset;
        problem.length = tag.token.length;
        problem.line = line_number_at(post, problem.offset);
        return problem;
    }
    return {};
}
