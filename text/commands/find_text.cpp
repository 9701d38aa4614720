#include "text/commands/find_text.h"

#include "text/unicode/code_points.h"
#include "text/unicode/unicode_units.h"

namespace {

// The character that ends just before `at`, a surrogate pair whole.
char32_t character_before(std::u16string_view text, std::size_t at)
{
    const char32_t last = text[at - 1];
    if (is_low_surrogate(last) && at >= 2 && is_high_surrogate(text[at - 2]))
        return paired_code_point(text[at - 2], last);
    return last;
}

char32_t character_at(std::u16string_view text, std::size_t at)
{
    const char32_t first = text[at];
    if (is_high_surrogate(first) && at + 1 < text.size() && is_low_surrogate(text[at + 1]))
        return paired_code_point(first, text[at + 1]);
    return first;
}

// Whether a position falls between the two halves of a surrogate pair.
bool splits_pair(std::u16string_view text, std::size_t at)
{
    return at > 0 && at < text.size() && is_high_surrogate(text[at - 1]) && is_low_surrogate(text[at]);
}

} // namespace

bool is_acceptable_match(std::u16string_view text, std::size_t start, std::size_t length, bool whole_word)
{
    const std::size_t end = start + length;
    if (splits_pair(text, start) || splits_pair(text, end))
        return false;
    if (!whole_word)
        return true;
    const bool word_before = start > 0 && is_word_character(character_before(text, start));
    const bool word_after = end < text.size() && is_word_character(character_at(text, end));
    return !word_before && !word_after;
}

std::optional<std::size_t> find_forward(std::u16string_view text, const FindRequest& request, std::size_t from,
                                        std::size_t end)
{
    const std::size_t length = request.pattern.size();
    if (length == 0 || end > text.size())
        return std::nullopt;
    const std::u16string_view searched = text.substr(0, end);
    for (std::size_t at = searched.find(request.pattern, from); at != std::u16string_view::npos;
         at = searched.find(request.pattern, at + 1)) {
        if (is_acceptable_match(text, at, length, request.whole_word))
            return at;
    }
    return std::nullopt;
}

std::optional<std::size_t> find_backward(std::u16string_view text, const FindRequest& request, std::size_t begin,
                                         std::size_t before)
{
    const std::size_t length = request.pattern.size();
    if (length == 0 || before > text.size() || before < begin + length)
        return std::nullopt;
    const std::u16string_view searched = text.substr(0, before);
    for (std::size_t at = searched.rfind(request.pattern); at != std::u16string_view::npos && at >= begin;
         at = at == 0 ? std::u16string_view::npos : searched.rfind(request.pattern, at - 1)) {
        if (is_acceptable_match(text, at, length, request.whole_word))
            return at;
    }
    return std::nullopt;
}

std::optional<FoundMatch> find_next_match(std::u16string_view text, const FindRequest& request,
                                          std::size_t selection_start, std::size_t selection_end, bool down)
{
    if (down) {
        if (const auto at = find_forward(text, request, selection_end, text.size()))
            return FoundMatch{*at, false};
        if (const auto at = find_forward(text, request, 0, text.size()))
            return FoundMatch{*at, true};
        return std::nullopt;
    }
    if (const auto at = find_backward(text, request, 0, selection_start))
        return FoundMatch{*at, false};
    if (const auto at = find_backward(text, request, 0, text.size()))
        return FoundMatch{*at, true};
    return std::nullopt;
}

std::vector<std::size_t> find_all_matches(std::u16string_view text, const FindRequest& request, std::size_t begin,
                                          std::size_t end)
{
    std::vector<std::size_t> matches;
    for (auto at = find_forward(text, request, begin, end); at;
         at = find_forward(text, request, *at + request.pattern.size(), end))
        matches.push_back(*at);
    return matches;
}

std::u16string replace_matches(std::u16string_view text, const std::vector<std::size_t>& matches, std::size_t length,
                               std::u16string_view replacement)
{
    std::u16string replaced;
    if (matches.empty())
        return replaced;
    const std::size_t span = matches.back() + length - matches.front();
    replaced.reserve(span);
    std::size_t kept_from = matches.front();
    for (const std::size_t at : matches) {
        replaced.append(text.substr(kept_from, at - kept_from));
        replaced.append(replacement);
        kept_from = at + length;
    }
    return replaced;
}
