#include "markup/editor_selection.h"

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

void replace_selection(HWND editor, const std::string& text)
{
    SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}
