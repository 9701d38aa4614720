// Finding and replacing text in the Editor control: what the search dialog
// asks for, carried out on the control's text and selection. The undo
// history records the replacements around these calls.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/history/edit_pieces.h"

struct SearchOptions {
    std::u16string pattern;
    bool match_case = false;
    bool whole_word = false;
    bool down = true;
};

enum class FindOutcome { found, found_after_wrapping, not_found };

// Selects the next match in the search's direction, going round the post
// once if need be, and scrolls it into view; the selection stays as it was
// when there is none.
FindOutcome find_next(HWND editor, const SearchOptions& search);

// Whether the selection is a match, as Replace wants it before it replaces.
bool selection_is_match(HWND editor, const SearchOptions& search);

// Whether the range of the text (the control's) is one match, no more.
bool holds_one_match(std::u16string_view text, CHARRANGE range, const SearchOptions& search);

// Puts `replacement` in place of the selection, in the plain format, and
// leaves the caret after it.
void replace_selection_plainly(HWND editor, std::u16string_view replacement);

// Every match within the scope, and the text they were found in.
struct MatchList {
    std::u16string text;
    std::vector<std::size_t> starts;
    std::size_t length = 0;
    CHARRANGE scope{};
    // From the first match to the end of the last one: all that changes.
    CHARRANGE span() const;
};
// `scope` nothing: the whole post.
MatchList find_every_match(HWND editor, const SearchOptions& search, std::optional<CHARRANGE> scope);

// What Replace All puts in place of the matches' span, which holds
// `present` (as a step of the history keeps it) with the text `text`: the
// text replaced, in the span's one format, or its RTF replaced in place.
// Either way each replacement takes the format of the first character it
// replaces and everything else keeps its own. Nothing when the RTF cannot
// be replaced in place (a picture or a table in the span).
std::optional<Piece> replace_in_piece(const Piece& present, std::u16string_view text, const MatchList& matches,
                                      std::u16string_view replacement);

// The same, one match after another, for a span that replace_in_piece
// cannot take: each edit costs time in proportion to the post.
void replace_match_by_match(HWND editor, const MatchList& matches, std::u16string_view replacement);
