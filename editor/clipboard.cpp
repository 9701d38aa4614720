#include "editor/clipboard.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_text.h"
#include "editor/paste_markup.h"
#include "text/paste/cf_html.h"
#include "text/paste/html_markup.h"
#include "text/rtf/rtf_prescan.h"
#include "text/unicode/unicode_text.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"
#include "win/win_handles.h"

namespace {

UINT rich_text_format()
{
    return RegisterClipboardFormatA("Rich Text Format");
}

// Opening the clipboard fails while another program holds it; try a little.
bool open_clipboard(HWND owner)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(20);
    }
    return false;
}

std::vector<char> clipboard_bytes(UINT format)
{
    const GlobalLockGuard<const char> locked(GetClipboardData(format));
    if (!locked.data())
        return {};
    return std::vector<char>(locked.data(), locked.data() + locked.size());
}

// Marks what this editor copied or cut.
UINT own_post_format()
{
    return RegisterClipboardFormatA("Forum Editor post");
}

void put_on_clipboard(UINT format, const void* data, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return;
    bool filled = false;
    {
        const GlobalLockGuard<void> locked(block);
        if (locked.data()) {
            std::memcpy(locked.data(), data, size);
            filled = true;
        }
    }
    // Once handed over, the block belongs to the clipboard.
    if (!filled || !SetClipboardData(format, block))
        GlobalFree(block);
}

} // namespace

void put_post_on_clipboard(HWND owner, std::string_view post)
{
    // A NUL would end the text early for Windows programs; leave it out.
    std::wstring text = to_wide(post);
    text.erase(std::remove(text.begin(), text.end(), L'\0'), text.end());
    text.push_back(L'\0');
    if (!open_clipboard(owner))
        return;
    const UINT rich_text = rich_text_format();
    const std::vector<char> rtf = clipboard_bytes(rich_text);
    EmptyClipboard();
    put_on_clipboard(CF_UNICODETEXT, text.data(), text.size() * sizeof(wchar_t));
    if (!rtf.empty())
        put_on_clipboard(rich_text, rtf.data(), rtf.size());
    put_on_clipboard(own_post_format(), "", 1);
    CloseClipboard();
}

void copy_selection(HWND editor)
{
    SendMessageW(editor, WM_COPY, 0, 0);
    put_post_on_clipboard(editor, get_selected_text(editor));
}

void cut_selection(HWND editor)
{
    const std::string post = get_selected_text(editor);
    SendMessageW(editor, WM_CUT, 0, 0);
    put_post_on_clipboard(editor, post);
}

namespace {

// What a paste takes from the clipboard, read at one go.
struct ClipboardContent {
    bool own = false; // copied or cut in this editor
    std::string html;
    std::string rtf;
    std::u16string text;
};

ClipboardContent read_clipboard(HWND owner)
{
    ClipboardContent content;
    if (!open_clipboard(owner))
        return content;
    content.own = IsClipboardFormatAvailable(own_post_format()) != 0;
    const std::vector<char> html = clipboard_bytes(RegisterClipboardFormatA("HTML Format"));
    content.html.assign(html.begin(), html.end());
    const std::vector<char> rtf = clipboard_bytes(RegisterClipboardFormatA("Rich Text Format"));
    content.rtf.assign(rtf.begin(), rtf.end());
    const std::vector<char> text = clipboard_bytes(CF_UNICODETEXT);
    content.text.resize(text.size() / sizeof(char16_t));
    std::memcpy(content.text.data(), text.data(), content.text.size() * sizeof(char16_t));
    CloseClipboard();
    // The whole block, not only what stands before a NUL: the text after one
    // is the user's too. The NULs themselves, the terminating one included,
    // are left out, as Copy leaves them out.
    std::erase(content.text, u'\0');
    return content;
}

PasteOutcome outcome_of(PasteRefusal refusal)
{
    switch (refusal) {
    case PasteRefusal::none:
        return PasteOutcome::pasted;
    case PasteRefusal::bad_header:
        return PasteOutcome::html_unreadable;
    case PasteRefusal::too_large:
        return PasteOutcome::html_too_large;
    case PasteRefusal::too_deep:
        return PasteOutcome::html_too_deep;
    }
    return PasteOutcome::html_unreadable;
}

// The clipboard's formatted text as markup: its HTML, or else its rich
// text. Nothing, with the reason in `outcome`, when there is none or it
// cannot be read safely.
std::optional<PastedMarkup> formatted_markup(HWND editor, const ClipboardContent& content,
                                             const PasteOptions& options, PasteOutcome& outcome)
{
    if (!content.html.empty()) {
        const std::optional<ClipboardHtml> html = read_clipboard_html(content.html);
        if (!html) {
            outcome = PasteOutcome::html_unreadable;
            return std::nullopt;
        }
        HtmlConversion conversion = html_to_markup(html->fragment, html->source_url, options);
        outcome = outcome_of(conversion.refusal);
        if (conversion.refusal != PasteRefusal::none)
            return std::nullopt;
        return std::move(conversion.markup);
    }
    if (content.rtf.empty())
        return std::nullopt;
    if (scan_rtf(content.rtf).verdict != RtfVerdict::ok) {
        outcome = PasteOutcome::rich_text_unsafe;
        return std::nullopt;
    }
    return rich_text_to_markup(editor, content.rtf, options);
}

// Puts `rtf` in place of the selection and leaves the caret after it;
// false, with nothing changed, when the pre-scan refuses it.
bool paste_rtf(HWND editor, const std::string& rtf)
{
    const CHARRANGE selected = get_selection(editor);
    const LONG kept = text_length(editor) - (selected.cpMax - selected.cpMin);
    if (!stream_in(editor, rtf, SF_RTF | SFF_SELECTION))
        return false;
    const LONG end = selected.cpMin + text_length(editor) - kept;
    set_selection(editor, end, end);
    return true;
}

bool within_limit(HWND editor, std::size_t limit, std::size_t pasted)
{
    const CHARRANGE selected = get_selection(editor);
    const auto kept = static_cast<std::size_t>(text_length(editor) - (selected.cpMax - selected.cpMin));
    if (kept + pasted <= limit)
        return true;
    show_message(editor, PASTE_TOO_LARGE);
    return false;
}

} // namespace

PasteOutcome paste_within_limit(HWND editor, std::size_t limit, PasteAs as, const PasteOptions& options,
                                const ProgressReport& progress)
{
    const ClipboardContent content = read_clipboard(editor);
    // The clipboard's size says early how long the paste may take.
    report_progress(progress, 0, content.text.size());
    // The editor's own copy already is markup, in its looks: it goes back
    // as it was copied.
    if (as == PasteAs::markup && content.own && !content.rtf.empty()) {
        if (!within_limit(editor, limit, content.text.size()))
            return PasteOutcome::too_large;
        if (paste_rtf(editor, content.rtf))
            return PasteOutcome::pasted;
    }
    PasteOutcome outcome = PasteOutcome::pasted;
    std::optional<PastedMarkup> markup;
    if (as == PasteAs::markup)
        markup = formatted_markup(editor, content, options, outcome);
    if (!markup || (markup->text.empty() && !content.text.empty()))
        markup = PastedMarkup{utf16_to_utf8(content.text), {}};
    if (markup->text.empty())
        return PasteOutcome::nothing_to_paste;
    if (!within_limit(editor, limit, utf16_length(markup->text)))
        return PasteOutcome::too_large;
    insert_pasted_markup(editor, *markup, progress);
    return outcome;
}
