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

// From this length on, plain text on the clipboard goes in a slice at a
// time, which shows its progress and, at this length already, is faster
// than one message (see replace_selection_in_slices).
constexpr std::size_t LONG_PASTE = 100000;

// Characters of the clipboard's text, without its terminating zero; the
// text itself too, when asked for.
std::size_t clipboard_text_length(HWND owner, std::u16string* text = nullptr)
{
    if (!open_clipboard(owner))
        return 0;
    std::size_t length = 0;
    {
        const GlobalLockGuard<const wchar_t> locked(GetClipboardData(CF_UNICODETEXT));
        if (locked.data()) {
            length = wcsnlen(locked.data(), locked.size() / sizeof(wchar_t));
            if (text)
                text->assign(reinterpret_cast<const char16_t*>(locked.data()), length);
        }
    }
    CloseClipboard();
    return length;
}

bool clipboard_holds_rich_text()
{
    return IsClipboardFormatAvailable(rich_text_format()) != 0;
}

} // namespace

bool paste_within_limit(HWND editor, std::size_t limit, const ProgressReport& progress)
{
    const CHARRANGE selected = get_selection(editor);
    const auto kept = static_cast<std::size_t>(text_length(editor) - (selected.cpMax - selected.cpMin));
    const std::size_t pasted = clipboard_text_length(editor);
    if (kept + pasted > limit) {
        show_message(editor, PASTE_TOO_LARGE);
        return false;
    }
    report_progress(progress, 0, pasted);
    std::u16string text;
    if (pasted >= LONG_PASTE && !clipboard_holds_rich_text() && clipboard_text_length(editor, &text) > 0)
        replace_selection_in_slices(editor, text, progress);
    else
        SendMessageA(editor, WM_PASTE, 0, 0);
    return true;
}
