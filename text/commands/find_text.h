// Finding a searched-for text in a post and replacing it, on UTF-16 text as
// the Editor control holds it (positions are its units). The caller folds
// both the text and the pattern when the letter case does not matter: the
// folding follows the user's locale and lives on the Windows side. Pure
// text: no Windows headers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FindRequest {
    std::u16string_view pattern;
    // Nothing of a word, in any script, may stand right before or after it.
    bool whole_word = false;
};

// Whether the `length` units at `start` may count as a match: they split no
// surrogate pair and, for a whole word, no word runs on at either edge.
bool is_acceptable_match(std::u16string_view text, std::size_t start, std::size_t length, bool whole_word);

// The first match that starts at or after `from` and ends by `end`.
std::optional<std::size_t> find_forward(std::u16string_view text, const FindRequest& request, std::size_t from,
                                        std::size_t end);

// The last match that starts at or after `begin` and ends by `before`.
std::optional<std::size_t> find_backward(std::u16string_view text, const FindRequest& request, std::size_t begin,
                                         std::size_t before);

struct FoundMatch {
    std::size_t start = 0;
    // The search ran past the end (or the start, going up) and began again
    // at the other end.
    bool wrapped = false;
};

// The next match after the selection (down) or before it (up), going
// round the post once when there is none on that side.
std::optional<FoundMatch> find_next_match(std::u16string_view text, const FindRequest& request,
                                          std::size_t selection_start, std::size_t selection_end, bool down);

// Every match within [begin, end), one after another, none overlapping.
std::vector<std::size_t> find_all_matches(std::u16string_view text, const FindRequest& request, std::size_t begin,
                                          std::size_t end);

// What the stretch from the first match to the end of the last one reads
// once each match (of `length` units) is replaced: built once, whole.
std::u16string replace_matches(std::u16string_view text, const std::vector<std::size_t>& matches, std::size_t length,
                               std::u16string_view replacement);
