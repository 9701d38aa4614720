// Finding and replacing text in the Editor control: what the search dialog
// asks for, carried out on the control's text and selection. The undo
// history records the replacements around these calls.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <string>
#include <vector>

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

// Puts `replacement` in place of the selection, in the plain format, and
// leaves the caret after it.
void replace_selection_plainly(HWND editor, std::u16string_view replacement);

// Every match within the selection, or within the whole post when nothing
// is selected, and the text they were found in.
struct MatchList {
    std::u16string text;
    std::vector<std::size_t> starts;
    std::size_t length = 0;
    CHARRANGE selection{};
    // From the first match to the end of the last one: all that changes.
    CHARRANGE span() const;
};
MatchList find_every_match(HWND editor, const SearchOptions& search);

// Replaces every match of the list, which must still be what the control
// holds, in the plain format. A span that is plain throughout takes the
// replaced text in one go; any other has each match replaced in place, so
// that the formats between them stay. Selects what was selected, grown or
// shrunk by the replacements, or else leaves the caret after the last one.
void replace_every_match(HWND editor, const MatchList& matches, std::u16string_view replacement);
