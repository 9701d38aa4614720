#include "text/forum/tag_check.h"

#include <algorithm>
#include <span>

#include "text/unicode/ascii_case.h"
#include "text/unicode/code_points.h"
#include "text/forum/tag_match.h"

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
    case TagFault::unknown_tag:
        return TagProblemKind::unknown_tag;
    case TagFault::refused_value:
        return TagProblemKind::refused_value;
    case TagFault::quote_removed:
        return TagProblemKind::quote_removed;
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

// MyBB draws [img] only for a web address: inc/class_parser.php,
// "\[img\](\r\n?|\n?)(https?://([^<>\"']+?))\[/img\]".
bool is_drawn_picture(std::string_view address)
{
    address.remove_prefix(line_break_length(address, 0));
    for (std::string_view scheme : {"http://", "https://"}) {
        if (starts_with_ignoring_case(address, scheme))
            return address.size() > scheme.size() && address.find_first_of("<>\"'") == std::string_view::npos;
    }
    return false;
}

// A web address in text, which MyBB's parse_smilies() leaves alone up to
// the next white space: "(http|ftp)(s|)://[^\s]*".
size_t address_length(std::string_view text)
{
    for (std::string_view scheme : {"http://", "https://", "ftp://", "ftps://"}) {
        if (starts_with_ignoring_case(text, scheme)) {
            const size_t end = text.find_first_of(" \t\r\n\f\v");
            return end == std::string_view::npos ? text.size() : end;
        }
    }
    return 0;
}

// The smiley codes of text, as MyBB's strtr() finds them: at each place the
// longest code, case as written; a ";)" right after an escaped &, < or >
// belongs to the entity.
void add_smileys(std::string_view text, size_t base, std::span<const std::string_view> codes,
                 std::vector<PicturePlace>& pictures)
{
    if (codes.empty())
        return;
    for (size_t at = text.find_first_of(":;hHfF"); at < text.size(); at = text.find_first_of(":;hHfF", at)) {
        const char c = text[at];
        if (c == 'h' || c == 'H' || c == 'f' || c == 'F') {
            if (const size_t skip = address_length(text.substr(at))) {
                at += skip;
                continue;
            }
        }
        if (c != ':' && c != ';') {
            ++at;
            continue;
        }
        const std::string_view rest = text.substr(at);
        const auto code = std::find_if(codes.begin(), codes.end(),
                                       [rest](std::string_view code) { return rest.starts_with(code); });
        const bool after_entity = c == ';' && at > 0 && (text[at - 1] == '&' || text[at - 1] == '<' || text[at - 1] == '>');
        if (code == codes.end() || after_entity) {
            ++at;
            continue;
        }
        pictures.push_back({base + at, code->size()});
        at += code->size();
    }
}

} // namespace

std::vector<PicturePlace> forum_pictures(std::string_view post, const std::vector<MatchedTag>& tags,
                                         const ForumProfile& profile)
{
    std::vector<PicturePlace> pictures;
    size_t text_start = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        const MatchedTag& tag = tags[i];
        if (!tag.markup)
            continue;
        const TagToken& token = tag.token;
        add_smileys(post.substr(text_start, token.offset - text_start), text_start, profile.smiley_codes, pictures);
        text_start = token.offset + token.length;
        if (token.closing)
            continue;
        // Neither what [code] holds nor a picture's address has smileys.
        if (token.id == ForumTagId::code || token.id == ForumTagId::img) {
            const TagToken& close = tags[tag.partner].token;
            if (token.id == ForumTagId::img && is_drawn_picture(post.substr(text_start, close.offset - text_start)))
                pictures.push_back({token.offset, token.length});
            text_start = close.offset;
        }
    }
    add_smileys(post.substr(text_start), text_start, profile.smiley_codes, pictures);
    return pictures;
}

TagProblem check_tags(std::string_view post, const ForumProfile& profile)
{
    const std::vector<MatchedTag> tags = match_tags(post, profile);
    TagProblem problem;
    for (const MatchedTag& tag : tags) {
        if (tag.fault == TagFault::none)
            continue;
        problem.kind = problem_kind(tag.fault);
        problem.tag = tag.token.id;
        problem.other = tag.crossed == NO_TAG ? tag.token.id : tags[tag.crossed].token.id;
        problem.offset = tag.token.offset;
        problem.length = tag.token.length;
        break;
    }
    // Only a post with more [img] tags and smiley starts than the limit can
    // have too many pictures.
    const auto could_be_picture = [&] {
        const size_t smiley_starts = profile.smiley_codes.empty()
                                         ? 0
                                         : static_cast<size_t>(std::count_if(post.begin(), post.end(), [](char c) {
                                               return c == ':' || c == ';';
                                           }));
        const size_t pictures = static_cast<size_t>(std::count_if(tags.begin(), tags.end(), [](const MatchedTag& tag) {
            return tag.markup && tag.token.id == ForumTagId::img && !tag.token.closing;
        }));
        return smiley_starts + pictures;
    };
    if (profile.picture_limit != 0 && could_be_picture() > profile.picture_limit) {
        const std::vector<PicturePlace> pictures = forum_pictures(post, tags, profile);
        if (pictures.size() > profile.picture_limit) {
            const PicturePlace& first_too_many = pictures[profile.picture_limit];
            if (problem.kind == TagProblemKind::none || first_too_many.offset < problem.offset) {
                problem = {};
                problem.kind = TagProblemKind::too_many_pictures;
                problem.tag = problem.other = ForumTagId::img;
                problem.offset = first_too_many.offset;
                problem.length = first_too_many.length;
            }
            problem.pictures = pictures.size();
        }
    }
    if (problem.kind != TagProblemKind::none)
        problem.line = line_number_at(post, problem.offset);
    return problem;
}
