#include "editor/find_replace.h"

#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "text/find_text.h"
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

bool is_dark(COLORREF color)
{
    return GetRValue(color) <= 1 && GetGValue(color) == 0 && GetBValue(color) == 0;
}

// Whether the selection has one format throughout, and one that plain text
// has: the control's default or the plain format, nothing bold, slanted,
// underlined or coloured.
bool holds_plain_format(HWND editor, CHARRANGE range)
{
    set_selection(editor, range.cpMin, range.cpMin + 1);
    const DWORD one_character = get_selection_format_w(editor).dwMask;
    set_selection(editor, range.cpMin, range.cpMax);
    const CHARFORMAT2W format = get_selection_format_w(editor);
    if ((format.dwMask & one_character) != one_character)
        return false;
    const bool marked = (format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT)) != 0;
    const bool dark = (format.dwEffects & CFE_AUTOCOLOR) || is_dark(format.crTextColor);
    const bool white = (format.dwEffects & CFE_AUTOBACKCOLOR) || format.crBackColor == RGB(255, 255, 255);
    return !marked && dark && white;
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

bool selection_is_match(HWND editor, const SearchOptions& search)
{
    const CHARRANGE selection = get_selection(editor);
    if (search.pattern.empty() || selection.cpMax - selection.cpMin != static_cast<LONG>(search.pattern.size()))
        return false;
    const SearchedText searched = searched_form(get_text_utf16(editor), search);
    const auto start = static_cast<std::size_t>(selection.cpMin);
    return std::u16string_view(searched.text).substr(start, searched.pattern.size()) == searched.pattern &&
           is_acceptable_match(searched.text, start, searched.pattern.size(), search.whole_word);
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
        return {selection.cpMin, selection.cpMin};
    return {static_cast<LONG>(starts.front()), static_cast<LONG>(starts.back() + length)};
}

MatchList find_every_match(HWND editor, const SearchOptions& search)
{
    MatchList list;
    list.text = get_text_utf16(editor);
    list.selection = get_selection(editor);
    const SearchedText searched = searched_form(list.text, search);
    list.length = searched.pattern.size();
    const bool nothing_selected = list.selection.cpMin == list.selection.cpMax;
    const std::size_t begin = nothing_selected ? 0 : static_cast<std::size_t>(list.selection.cpMin);
    const std::size_t end = nothing_selected ? list.text.size() : static_cast<std::size_t>(list.selection.cpMax);
    list.starts = find_all_matches(searched.text, {searched.pattern, search.whole_word}, begin, end);
    return list;
}

void replace_every_match(HWND editor, const MatchList& matches, std::u16string_view replacement)
{
    if (matches.starts.empty())
        return;
    const CHARRANGE span = matches.span();
    const LONG length_before = text_length(editor);
    {
        RedrawPause pause(editor);
        if (holds_plain_format(editor, span)) {
            // Plain already: the replaced text takes the span's own format.
            set_selection(editor, span.cpMin, span.cpMax);
            replace_selection_utf16(editor, replace_matches(matches.text, matches.starts, matches.length, replacement));
        } else {
            // From the last to the first, so that the positions still ahead hold.
            for (auto at = matches.starts.rbegin(); at != matches.starts.rend(); ++at) {
                const auto start = static_cast<LONG>(*at);
                set_selection(editor, start, start + static_cast<LONG>(matches.length));
                replace_selection_plainly(editor, replacement);
            }
        }
    }
    // The control counts what went in, line breaks as it stores them.
    const LONG growth = text_length(editor) - length_before;
    const CHARRANGE selected = matches.selection;
    if (selected.cpMin == selected.cpMax)
        set_selection(editor, span.cpMax + growth, span.cpMax + growth);
    else
        set_selection(editor, selected.cpMin, selected.cpMax + growth);
}
