#include "editor/insert_format.h"

#include "editor/editor_text.h"
#include "win/messages.h"

namespace {

constexpr COLORREF INSERT_BACKGROUND = RGB(255, 255, 255);

} // namespace

bool set_insert_format(HWND editor, const InsertFormat& wanted)
{
    const CHARFORMAT2A current = get_selection_format(editor);

    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CHAR_FORMAT_MASK;
    format.dwEffects = (wanted.bold ? CFE_BOLD : 0) | (wanted.italic ? CFE_ITALIC : 0) |
                       (wanted.underline ? CFE_UNDERLINE : 0) | (current.dwEffects & CFE_STRIKEOUT);
    // Height 0, the same that the default font sends, so both render alike.
    format.yHeight = 0;
    format.yOffset = current.yOffset;
    format.crTextColor = wanted.color;
    format.bCharSet = current.bCharSet;
    format.bPitchAndFamily = current.bPitchAndFamily;
    lstrcpynA(format.szFaceName, current.szFaceName, LF_FACESIZE);
    format.crBackColor = INSERT_BACKGROUND;

    return set_selection_format_in_slices(editor, format);
}

bool add_insert_look(HWND editor, const InsertFormat& look)
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = (look.bold ? CFM_BOLD : 0) | (look.italic ? CFM_ITALIC : 0) | (look.underline ? CFM_UNDERLINE : 0) |
                    (look.color != PLAIN_FORMAT.color ? CFM_COLOR : 0);
    if (format.dwMask == 0)
        return true;
    format.dwEffects = (look.bold ? CFE_BOLD : 0) | (look.italic ? CFE_ITALIC : 0) | (look.underline ? CFE_UNDERLINE : 0);
    format.crTextColor = look.color;
    return set_selection_format_in_slices(editor, format);
}

bool apply_insert_format(HWND editor, const InsertFormat& wanted)
{
    if (!set_insert_format(editor, wanted)) {
        show_error(editor, IDS_FORMAT_ERROR);
        return false;
    }
    SetFocus(editor);
    return true;
}
