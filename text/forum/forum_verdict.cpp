#include "text/forum/forum_verdict.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "text/forum/post_counts.h"
#include "text/forum/tag_check.h"
#include "text/unicode/utf8_reading.h"

namespace {

// White space, controls and format characters: what PHP's trim(), MyBB's
// trim_blank_chrs() and SMF's htmltrim() (\p{Z}\p{C}) take from the ends.
bool is_blank(char32_t c)
{
    return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0xFEFF;
}

bool is_php_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// PHP's numeric string: white space, a sign, digits with an optional
// fraction (or a fraction alone), an optional exponent, white space.
std::optional<double> php_number(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && is_php_space(text[at]))
        ++at;
    size_t end = text.size();
    while (end > at && is_php_space(text[end - 1]))
        --end;
    const std::string number(text.substr(at, end - at));
    size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < number.size() && number[i] >= '0' && number[i] <= '9')
        ++i, ++digits;
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (i < number.size() && number[i] >= '0' && number[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        size_t j = i + 1;
        if (j < number.size() && (number[j] == '+' || number[j] == '-'))
            ++j;
        const size_t exponent_start = j;
        while (j < number.size() && number[j] >= '0' && number[j] <= '9')
            ++j;
        if (j > exponent_start)
            i = j;
    }
    if (i != number.size())
        return std::nullopt;
    return std::strtod(number.c_str(), nullptr);
}

} // namespace

// phpBB's parser::filter_font_size(): "$size > $max_size" on the value as
// typed. PHP 8 compares a numeric string as a number and any other string
// with the number written out, byte by byte: "large" and "9px" are greater
// than "200", "14px" and "150%" are not.
bool size_refuses_post(const ForumProfile& profile, std::string_view value)
{
    // phpBB's filter_font_size() takes any size when the board sets no
    // largest (an empty max_post_font_size).
    if (!profile.refuses_large_size || profile.largest_size == 0)
        return false;
    if (const std::optional<double> number = php_number(value))
        return *number > profile.largest_size;
    return value > std::string_view(std::to_string(profile.largest_size));
}


size_t visible_characters(std::string_view post, const std::vector<MatchedTag>& tags)
{
    size_t count = 0;
    size_t pending_blank = 0; // blanks after the last seen character that is not
    bool seen = false;
    const auto read = [&](std::string_view text) {
        for (size_t at = 0; at < text.size();) {
            const utf8_reading::Sequence sequence = utf8_reading::decode_character(text, at);
            at += sequence.length;
            if (is_blank(sequence.code_point)) {
                pending_blank += seen ? 1 : 0;
                continue;
            }
            count += pending_blank + 1;
            pending_blank = 0;
            seen = true;
        }
    };
    size_t from = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        const MatchedTag& tag = tags[i];
        if (!tag.markup && tag.fault != TagFault::quote_removed)
            continue;
        read(post.substr(from, tag.token.offset - from));
        from = tag.token.offset + tag.token.length;
        if (tag.fault == TagFault::quote_removed && tag.partner != NO_TAG) {
            const TagToken& close = tags[tag.partner].token;
            from = close.offset + close.length;
            while (i + 1 < tags.size() && tags[i + 1].token.offset < from)
                ++i;
        }
    }
    read(post.substr(std::min(from, post.size())));
    return count;
}

PostVerdict judge_post(std::string_view post, const std::vector<MatchedTag>& tags, const ForumProfile& profile,
                       uint32_t limit)
{
    PostVerdict verdict;
    verdict.length = forum_length(post, profile.counting);
    if (profile.id == ForumProfileId::editor)
        return verdict;
    // phpBB message_parser::parse(), MyBB verify_message(), SMF Post2():
    // nothing, then too long, then too little to read.
    const bool blank = verdict.length == 0 || (profile.counting.trim == Trim::none &&
                                               profile.min_visible_characters > 0 && visible_characters(post, {}) == 0);
    if (blank) {
        verdict.refusal = PostRefusal::empty;
        return verdict;
    }
    if (verdict.length > limit) {
        verdict.refusal = PostRefusal::too_long;
        return verdict;
    }
    if (profile.min_characters > 0) {
        CountingRule characters = profile.counting;
        characters.unit = LengthUnit::characters;
        if (forum_length(post, characters) < profile.min_characters) {
            verdict.refusal = PostRefusal::too_short;
            return verdict;
        }
    }
    if (profile.min_visible_characters > 0 && visible_characters(post, tags) < profile.min_visible_characters) {
        verdict.refusal = PostRefusal::empty;
        return verdict;
    }
    for (const MatchedTag& tag : tags)
        // The parser's filter sees every [size=] it reads, laid out or not.
        if (!tag.token.closing && tag.token.id == ForumTagId::size &&
            size_refuses_post(profile, tag.token.value)) {
            verdict.refusal = PostRefusal::size_too_large;
            verdict.offset = tag.token.offset;
            verdict.tag_length = tag.token.length;
            return verdict;
        }
    if (profile.picture_limit != 0) {
        const std::vector<PicturePlace> pictures = forum_pictures(post, tags, profile);
        verdict.pictures = pictures.size();
        if (pictures.size() > profile.picture_limit) {
            verdict.refusal = PostRefusal::too_many_pictures;
            verdict.offset = pictures[profile.picture_limit].offset;
            verdict.tag_length = pictures[profile.picture_limit].length;
        }
    }
    return verdict;
}
