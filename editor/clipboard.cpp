#include "editor/clipboard.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor/editor_text.h"
#include "win/messages.h"
#include "text/wide_text.h"
#include "win/win_handles.h"

namespace {

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
    const UINT rich_text = RegisterClipboardFormatA("Rich Text Format");
    const std::vector<char> rtf = clipboard_bytes(rich_text);
    EmptyClipboard();
    put_on_clipboard(CF_UNICODETEXT, text.data(), text.size() * sizeof(wchar_t));
    if (!rtf.empty())
        put_on_clipboard(rich_text, rtf.data(), rtf.size());
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
    std::string rtf;
    std::u16string text;
};

ClipboardContent read_clipboard(HWND owner)
{
    ClipboardContent content;
    if (!open_clipboard(owner))
        return content;
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

} // namespace

PasteOutcome paste_within_limit(HWND editor, std::size_t limit)
{
    const ClipboardContent content = read_clipboard(editor);
    if (content.rtf.empty() && content.text.empty())
        return PasteOutcome::nothing_to_paste;
    const CHARRANGE selected = get_selection(editor);
    const auto kept = static_cast<std::size_t>(text_length(editor) - (selected.cpMax - selected.cpMin));
    if (kept + content.text.size() > limit) {
        show_message(editor, PASTE_TOO_LARGE);
        return PasteOutcome::too_large;
    }
    if (!content.rtf.empty() && paste_rtf(editor, content.rtf))
        return PasteOutcome::pasted;
    replace_selection_utf16(editor, content.text);
    return content.rtf.empty() ? PasteOutcome::pasted : PasteOutcome::pasted_as_text;
}
