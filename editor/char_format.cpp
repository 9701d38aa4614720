#include "editor/char_format.h"

#include <richedit.h>

#include "editor/editor_text.h"
#include "win/messages.h"

bool set_default_font(HWND editor)
{
    // The mask names the background colour too, which only the larger
    // CHARFORMAT2 can carry; without it the control gives typed text a black
    // background. Ask for the control's own background instead, so the text
    // sits on the editing area's colour.
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CHAR_FORMAT_MASK;
    format.dwEffects = CFE_AUTOBACKCOLOR;
    format.yHeight = 0;
    format.crTextColor = RGB(1, 0, 0);
    format.bCharSet = EASTEUROPE_CHARSET;
    lstrcpynA(format.szFaceName, "Courier New", LF_FACESIZE);

    // The control is still empty, so the format lands on the insertion point
    // and governs what is typed first. It also becomes the control's default,
    // so that text put in later (a new document, an opened text file) shows
    // in the same font rather than in the control's bold system font.
    const auto to_selection =
        SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format));
    if (!to_selection) {
        show_error(editor, IDS_DEFAULT_FORMAT_ERROR);
        return false;
    }
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return true;
}

void set_background_color(HWND editor, COLORREF color)
{
    SendMessageA(editor, EM_SETBKGNDCOLOR, 0, color);
}

void select_all(HWND editor)
{
    // Up to the end of the text and no further: selecting past it (0 to -1)
    // takes in the control's closing paragraph mark, which Copy then puts on
    // the clipboard as stray characters behind the post.
    set_selection(editor, 0, text_length(editor));
}
