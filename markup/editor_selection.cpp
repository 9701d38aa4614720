#include "markup/editor_selection.h"

CHARRANGE get_selection(HWND editor)
{
    CHARRANGE range{0, 0};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

CHARFORMAT2A get_selection_format(HWND editor)
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
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

namespace {

// Inserts text at a position, in the given format, without undo.
LONG insert_at(HWND editor, LONG position, const CHARFORMAT2A& format, std::string_view text)
{
    set_selection(editor, position, position);
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    replace_selection(editor, std::string(text));
    return get_selection(editor).cpMax;
}

// Keeps the control from painting half-done edits; repaints once at the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND editor) : editor_(editor) { SendMessageA(editor_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPause()
    {
        SendMessageA(editor_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(editor_, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND editor_;
};

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
