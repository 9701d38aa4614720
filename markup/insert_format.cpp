#include "markup/insert_format.h"

#include <richedit.h>

#include "app/document_state.h"
#include "markup/editor_selection.h"

bool apply_insert_format(HWND editor, int red, int green, int blue, int bold, int italic, int underline)
{
    const CHARFORMAT2A current = get_selection_format(editor);

    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = g_doc.char_format_mask;
    format.dwEffects = (bold ? CFE_BOLD : 0) | (italic ? CFE_ITALIC : 0) | (underline ? CFE_UNDERLINE : 0) |
                       (current.dwEffects & CFE_STRIKEOUT);
    // Height 0, the same that the default font sends, so both render alike.
    format.yHeight = 0;
    format.yOffset = current.yOffset;
    format.crTextColor = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
    format.bCharSet = current.bCharSet;
    format.bPitchAndFamily = current.bPitchAndFamily;
    lstrcpynA(format.szFaceName, current.szFaceName, LF_FACESIZE);
    format.crBackColor = RGB(255, 255, 255);

    if (!SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format))) {
        MessageBoxA(editor, "FORMAT ERROR", "Error", MB_OK);
        return false;
    }
    SetFocus(editor);
    return true;
}
