#include "editor/find_replace.h"

#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "text/commands/find_text.h"
#include "text/rtf/rtf_replace.h"
#include "text/unicode/unicode_text.h"
#include "win/letter_case.h"

namespace {

// The text as the search compares it, and the pattern alike.
struct SearchedText {
    std::u16string text;
    std::u16string pattern;
};

SearchedText searched_form(std::u16string text, const SearchOptions& search)
{
    if (search.match_case)
        return {std::move(text), search.pattern};
    return {fold_letter_case(text), fold_letter_case(search.pattern)};
}

} // namespace

FindOutcome find_next(HWND editor, const SearchOptions& search)
{
    const SearchedText searched = searched_form(get_text_utf16(editor), search);
    const CHARRANGE selection = get_selection(editor);
    const auto found = find_next_match(searched.text, {searched.pattern, search.whole_word},
                                       static_cast<std::size_t>(selection.cpMin),
                                       static_cast<std::size_t>(selection.cpMax), search.down);
    if (!found)
        return FindOutcome::not_found;
    const auto start = static_cast<LONG>(found->start);
    set_selection(editor, start, start + static_cast<LONG>(searched.pattern.size()));
    SendMessageW(editor, EM_SCROLLCARET, 0, 0);
    return found->wrapped ? FindOutcome::found_after_wrapping : FindOutcome::found;
}

bool holds_one_match(std::u16string_view text, CHARRANGE range, const SearchOptions& search)
{
    const auto length = static_cast<LONG>(search.pattern.size());
    if (length == 0 || range.cpMin < 0 || range.cpMax - range.cpMin != length ||
        static_cast<std::size_t>(range.cpMax) > text.size())
        return false;
    const auto start = static_cast<std::size_t>(range.cpMin);
    const std::u16string_view found = text.substr(start, search.pattern.size());
    const SearchedText searched = searched_form(std::u16string(found), search);
    return searched.text == searched.pattern && is_acceptable_match(text, start, found.size(), search.whole_word);
}

bool selection_is_match(HWND editor, const SearchOptions& search)
{
    return holds_one_match(get_text_utf16(editor), get_selection(editor), search);
}

void replace_selection_plainly(HWND editor, std::u16string_view replacement)
{
    const LONG start = get_selection(editor).cpMin;
    replace_selection_utf16(editor, replacement);
    const LONG end = start + static_cast<LONG>(replacement.size());
    set_selection(editor, start, end);
    set_insert_format(editor, PLAIN_FORMAT);
    set_selection(editor, end, end);
}

CHARRANGE MatchList::span() const
{
    if (starts.empty())
        return {scope.cpMin, scope.cpMin};
    return {static_cast<LONG>(starts.front()), static_cast<LONG>(starts.back() + length)};
}

MatchList find_every_match(HWND editor, const SearchOptions& search, std::optional<CHARRANGE> scope)
{
    MatchList list;
    list.text = get_text_utf16(editor);
    list.scope = scope.value_or(CHARRANGE{0, static_cast<LONG>(list.text.size())});
    const SearchedText searched = searched_form(list.text, search);
    list.length = searched.pattern.size();
    const auto begin = static_cast<std::size_t>(list.scope.cpMin), end = static_cast<std::size_t>(list.scope.cpMax);
    list.starts = find_all_matches(searched.text, {searched.pattern, search.whole_word}, begin, end);
    return list;
}

std::optional<Piece> replace_in_piece(const Piece& present, std::u16string_view text, const MatchList& matches,
                                      std::u16string_view replacement)
{
    // Where the matches stand in the span, which begins with the first.
    std::vector<std::size_t> starts(matches.starts);
    for (std::size_t& start : starts)
        start -= matches.starts.front();
    // Each match's units go, the replacement's come: positions as the control counts them.
    const auto length = static_cast<std::int32_t>(text.size() - starts.size() * matches.length +
                                                  starts.size() * replacement.size());
    if (present.kind == PieceKind::text)
        return Piece{PieceKind::text, length,
                     utf16_to_utf8(replace_matches(text, starts, matches.length, replacement)), present.char_format,
                     ""};
    auto rtf = replace_in_rtf(present.content, text, {starts, matches.length, replacement});
    if (!rtf)
        return std::nullopt;
    return Piece{PieceKind::rtf, length, std::move(*rtf), present.char_format, present.para_format};
}

void replace_match_by_match(HWND editor, const MatchList& matches, std::u16string_view replacement)
{
    RedrawPause pause(editor);
    // From the last to the first, so that the positions still ahead hold.
    for (auto at = matches.starts.rbegin(); at != matches.starts.rend(); ++at) {
        const auto start = static_cast<LONG>(*at);
        set_selection(editor, start, start + static_cast<LONG>(matches.length));
        replace_selection_utf16(editor, replacement);
    }
}
