#include "ui/preview_pane.h"

#include <richedit.h>

#include <algorithm>
#include <string_view>

#include "markup/markup_commands.h"
#include "markup/paragraph_sync.h"
#include "markup/rtf_picture.h"
#include "res/resource_ids.h"
#include "ui/editor_text.h"

namespace {

constexpr DWORD PREVIEW_STYLE = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY;

// Never equal to a paragraph of the preview, each of which starts with \pard.
constexpr std::string_view OUT_OF_DATE = "";

struct RtfSource {
    std::string_view rtf;
    size_t read = 0;
};

DWORD CALLBACK read_rtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto& source = *reinterpret_cast<RtfSource*>(cookie);
    const size_t count = std::min(static_cast<size_t>(wanted), source.rtf.size() - source.read);
    std::copy_n(source.rtf.data() + source.read, count, buffer);
    source.read += count;
    *given = static_cast<LONG>(count);
    return 0;
}

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

// Where each paragraph starts in the control, and where the empty last one
// does. The control counts a position for each UTF-16 unit of its text, CR
// and LF of a paragraph's end included.
std::vector<LONG> paragraph_starts(HWND control)
{
    const std::wstring text = get_text_utf16(control);
    std::vector<LONG> starts{0};
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2))
        starts.push_back(static_cast<LONG>(at + 2));
    return starts;
}

LONG text_length_of(HWND control)
{
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

PARAFORMAT2 paragraph_format_at(HWND control, LONG position)
{
    set_selection(control, position, position);
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    SendMessageW(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    // The indent comes as it is, not as a step from the present one.
    format.dwMask &= ~PFM_OFFSETINDENT;
    return format;
}

void stream_into_selection(HWND control, std::string_view rtf)
{
    RtfSource source{rtf};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, read_rtf};
    SendMessageW(control, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
}

// Replaces the positions [first, last), whole paragraphs, by the RTF
// document (or by nothing), with the view and the selection left where the
// reader had them.
void replace_range(HWND control, LONG first, LONG last, std::string_view rtf)
{
    POINT scroll{};
    SendMessageW(control, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    const CHARRANGE selection = get_selection(control);
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);

    if (rtf.empty()) {
        set_selection(control, first, last);
        SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    } else {
        // Wine's reader gives the paragraph behind a stream the paragraph
        // format of the stream's last paragraph; it keeps its own here.
        const PARAFORMAT2 behind = paragraph_format_at(control, last);
        const LONG length_before = text_length_of(control);
        set_selection(control, first, last);
        stream_into_selection(control, rtf);
        const LONG behind_start = last + text_length_of(control) - length_before;
        set_selection(control, behind_start, behind_start);
        SendMessageW(control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&behind));
    }

    set_selection(control, selection.cpMin, selection.cpMax);
    SendMessageW(control, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, nullptr, TRUE);
}

} // namespace

bool create_preview_pane(HWND main_window, PreviewPane& pane)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main_window, GWLP_HINSTANCE));
    pane.window = CreateWindowExW(WS_EX_CLIENTEDGE, L"RICHEDIT", L"", PREVIEW_STYLE, 0, 0, 0, 0, main_window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW)), instance, nullptr);
    if (!pane.window)
        return false;
    SendMessageW(pane.window, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    // Nobody undoes in a read-only pane; keep no history of the updates.
    SendMessageW(pane.window, EM_SETUNDOLIMIT, 0, 0);
    pane.options = smiley_pictures(instance);
    return true;
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

    const std::vector<LONG> starts = paragraph_starts(pane.window);
    if (starts.size() != pane.shown.size() + 1) {
        // The control holds something else than it was given: start afresh.
        SetWindowTextW(pane.window, L"");
        pane.shown.clear();
        return false;
    }
    const std::string rtf =
        edit->inserted ? preview_paragraphs_document(pane.wanted, edit->first, edit->first + edit->inserted) : "";
    replace_range(pane.window, starts[edit->first], starts[edit->first + edit->removed], rtf);
    apply_paragraph_edit(pane.shown, pane.wanted.paragraphs, *edit);
    return pane.shown == pane.wanted.paragraphs;
}
