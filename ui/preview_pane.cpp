#include "ui/preview_pane.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "editor/markup_commands.h"
#include "text/preview/paragraph_sync.h"
#include "text/rtf/rtf_picture.h"
#include "res/resource_ids.h"
#include "editor/editor_text.h"
#include "win/messages.h"

namespace {

constexpr DWORD PREVIEW_STYLE = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY;

// Never equal to a paragraph of the preview, each of which starts with \pard.
constexpr std::string_view OUT_OF_DATE = "";

// RT_BITMAP as the wide resource functions take it.
const wchar_t* const RT_BITMAP_W = MAKEINTRESOURCEW(2);

PreviewOptions smiley_pictures(HINSTANCE instance)
{
    PreviewOptions options;
    for (size_t i = 0; i < SMILEY_COUNT; ++i) {
        HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDB_SMILEY_FIRST + i), RT_BITMAP_W);
        HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes)
            continue; // a smiley without its picture shows as a placeholder
        const std::string_view dib(static_cast<const char*>(bytes), SizeofResource(instance, found));
        if (std::optional<std::string> picture = dib_picture_rtf(dib))
            options.pictures.emplace(smiley_address(i), std::move(*picture));
    }
    return options;
}

// The positions each paragraph of the text takes, its CR LF included: the
// control counts one for each UTF-16 unit of its text.
std::vector<LONG> paragraph_lengths(std::u16string_view text)
{
    std::vector<LONG> lengths;
    size_t start = 0;
    for (size_t at = text.find(u"\r\n"); at != std::u16string_view::npos; at = text.find(u"\r\n", start)) {
        lengths.push_back(static_cast<LONG>(at + 2 - start));
        start = at + 2;
    }
    return lengths;
}

PARAFORMAT2 paragraph_format_at(HWND control, LONG position)
{
    set_selection(control, position, position);
    PARAFORMAT2 format = get_paragraph_format(control);
    // The indent comes as it is, not as a step from the present one.
    format.dwMask &= ~PFM_OFFSETINDENT;
    return format;
}

// Replaces the positions [first, last), whole paragraphs, by the paragraphs
// of the RTF document (or by nothing); returns the positions each new
// paragraph takes. `behind` says whether a shown paragraph follows.
std::vector<LONG> replace_paragraphs(HWND control, LONG first, LONG last, std::string_view rtf, bool behind)
{
    if (rtf.empty()) {
        set_selection(control, first, last);
        SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        return {};
    }
    // Wine's reader gives the paragraph behind a stream the paragraph format
    // of the stream's last paragraph; it gets its own back.
    const std::optional<PARAFORMAT2> behind_format =
        behind ? std::optional(paragraph_format_at(control, last)) : std::nullopt;
    const LONG length_before = text_length(control);
    set_selection(control, first, last);
    stream_in(control, rtf, SF_RTF | SFF_SELECTION);
    const LONG end = last + text_length(control) - length_before;
    set_selection(control, first, end);
    const std::vector<LONG> lengths = paragraph_lengths(get_selected_utf16(control));
    if (behind_format) {
        set_selection(control, end, end);
        SendMessageW(control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&*behind_format));
    }
    return lengths;
}

// Repaints what may have changed on screen: everything from the first
// changed line down, as the lines below it may have moved.
void repaint_from(HWND control, LONG position)
{
    POINTL top{};
    SendMessageW(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&top), position);
    RECT client{};
    GetClientRect(control, &client);
    if (top.y >= client.bottom)
        return; // below the view: nothing shown has moved
    client.top = std::clamp<LONG>(top.y, 0, client.bottom);
    InvalidateRect(control, &client, TRUE);
}

// Empties the control, to fill it again from nothing.
void start_afresh(PreviewPane& pane)
{
    SetWindowTextW(pane.window, L"");
    pane.shown.clear();
    pane.shown_lengths.clear();
}

} // namespace

bool create_preview_pane(HWND main_window, PreviewPane& pane)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main_window, GWLP_HINSTANCE));
    pane.window = CreateWindowExW(WS_EX_CLIENTEDGE, L"RICHEDIT", L"", PREVIEW_STYLE, 0, 0, 0, 0, main_window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW)), instance, nullptr);
    if (!pane.window)
        return false;
    SendMessageW(pane.window, EM_EXLIMITTEXT, 0, EDITOR_TEXT_LIMIT);
    // Nobody undoes in a read-only pane; keep no history of the updates.
    SendMessageW(pane.window, EM_SETUNDOLIMIT, 0, 0);
    pane.options = smiley_pictures(instance);
    label_preview(pane);
    return true;
}

void label_preview(PreviewPane& pane)
{
    pane.options.labels = {load_program_text(IDS_PREVIEW_QUOTE), load_program_text(IDS_PREVIEW_AUTHOR_QUOTE),
                           load_program_text(IDS_PREVIEW_CODE), load_program_text(IDS_PREVIEW_PICTURE)};
}

void set_preview_wanted(PreviewPane& pane, PreviewParagraphs wanted)
{
    pane.wanted = std::move(wanted);
}

bool update_preview_step(PreviewPane& pane, size_t budget)
{
    if (pane.shown_head != pane.wanted.head) {
        // A colour number may stand for another colour now: every paragraph
        // shown is written anew.
        std::fill(pane.shown.begin(), pane.shown.end(), std::string(OUT_OF_DATE));
        pane.shown_head = pane.wanted.head;
    }
    const std::optional<ParagraphEdit> edit = next_paragraph_edit(pane.shown, pane.wanted.paragraphs, budget);
    if (!edit)
        return true;

    HWND control = pane.window;
    LONG first = 0;
    for (size_t i = 0; i < edit->first; ++i)
        first += pane.shown_lengths[i];
    LONG last = first;
    for (size_t i = edit->first; i < edit->first + edit->removed; ++i)
        last += pane.shown_lengths[i];
    const std::string rtf =
        edit->inserted ? preview_paragraphs_document(pane.wanted, edit->first, edit->first + edit->inserted) : "";
    const bool behind = edit->first + edit->removed < pane.shown.size();

    // One repaint for the whole step, of only what changed on screen.
    const CHARRANGE selection = get_selection(control);
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    const std::vector<LONG> lengths = replace_paragraphs(control, first, last, rtf, behind);
    // A reader's selection, to copy from, stays; a caret is not shown here.
    if (selection.cpMin != selection.cpMax)
        set_selection(control, selection.cpMin, selection.cpMax);
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    repaint_from(control, first);

    apply_paragraph_edit(pane.shown, pane.wanted.paragraphs, *edit);
    const auto at = pane.shown_lengths.begin() + static_cast<std::ptrdiff_t>(edit->first);
    pane.shown_lengths.erase(at, at + static_cast<std::ptrdiff_t>(edit->removed));
    pane.shown_lengths.insert(pane.shown_lengths.begin() + static_cast<std::ptrdiff_t>(edit->first), lengths.begin(),
                              lengths.end());
    // What the control holds must add up to what was put in; if not, start
    // afresh rather than replace the wrong paragraphs next time.
    LONG total = 0;
    for (LONG length : pane.shown_lengths)
        total += length;
    if (lengths.size() != edit->inserted || total != text_length(control)) {
        start_afresh(pane);
        return false;
    }
    return pane.shown == pane.wanted.paragraphs;
}
