#include "ui/editor_text.h"

#include <algorithm>

CHARRANGE get_selection(HWND editor)
{
    CHARRANGE range{0, 0};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void set_selection(HWND editor, LONG first, LONG last)
{
    CHARRANGE range{first, last};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

LONG text_length(HWND editor)
{
    return GetWindowTextLengthA(editor);
}

std::string get_text(HWND editor)
{
    const int length = GetWindowTextLengthA(editor);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(editor, text.data(), length + 1)));
    return text;
}

std::wstring get_text_utf16(HWND control)
{
    constexpr UINT UTF16 = 1200;
    GETTEXTLENGTHEX length_query{GTL_NUMCHARS | GTL_PRECISE, UTF16};
    const auto length = SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX query{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, UTF16, nullptr, nullptr};
    const auto copied =
        SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

std::string get_text_utf8(HWND editor)
{
    const std::wstring wide = get_text_utf16(editor);
    if (wide.empty())
        return {};
    const int count = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, text.data(), size, nullptr, nullptr);
    return text;
}

LONG utf16_length(std::string_view utf8)
{
    if (utf8.empty())
        return 0;
    return MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
}

CHARFORMAT2A get_selection_format(HWND editor)
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

bool set_selection_format(HWND editor, const CHARFORMAT2A& format)
{
    return SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)) != 0;
}

std::string get_selected_text(HWND editor)
{
    const CHARRANGE range = get_selection(editor);
    const size_t positions = range.cpMax > range.cpMin ? static_cast<size_t>(range.cpMax - range.cpMin) : 0;
    if (positions == 0)
        return {};
    // EM_GETSELTEXT takes no buffer size. A position is one byte in the
    // control's ANSI text, but leave room for two (a double-byte character,
    // a line break written out as CR LF) so that nothing can be written past.
    std::string text(2 * positions + 2, '\0');
    SendMessageA(editor, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

void replace_selection(HWND editor, std::string_view text)
{
    const std::string terminated(text);
    SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

RedrawPause::RedrawPause(HWND editor) : editor_(editor)
{
    SendMessageA(editor_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause()
{
    SendMessageA(editor_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(editor_, nullptr, TRUE);
}

namespace {

// Inserts text at a position, in the given format, without undo.
LONG insert_at(HWND editor, LONG position, const CHARFORMAT2A& format, std::string_view text)
{
    set_selection(editor, position, position);
    set_selection_format(editor, format);
    replace_selection(editor, text);
    return get_selection(editor).cpMax;
}

} // namespace

CHARRANGE insert_around_selection(HWND editor, std::string_view before, std::string_view after)
{
    const CHARRANGE selected = get_selection(editor);
    if (selected.cpMin == selected.cpMax) {
        // Nothing to keep in between: one insertion in the caret's own format.
        replace_selection(editor, std::string(before).append(after));
        return {selected.cpMin, get_selection(editor).cpMax};
    }

    RedrawPause pause(editor);
    set_selection(editor, selected.cpMin, selected.cpMin + 1);
    const CHARFORMAT2A first_character = get_selection_format(editor);
    // Behind first, so that the start stays where it is.
    const LONG end = insert_at(editor, selected.cpMax, first_character, after);
    const LONG before_end = insert_at(editor, selected.cpMin, first_character, before);
    const LONG new_end = end + (before_end - selected.cpMin);
    set_selection(editor, new_end, new_end);
    return {selected.cpMin, new_end};
}
