#include "format/char_format.h"

#include <richedit.h>

#include "app/document_state.h"

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
    g_doc.char_format_mask = format.dwMask;

    // The control is still empty, so the format lands on the insertion point.
    if (!SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format))) {
        MessageBoxA(nullptr, "EM_SETCHARFORMAT", "Error", MB_OK);
        return false;
    }
    return true;
}

// Placeholders until the font and background dialogs land.
bool choose_font(HWND) { return true; }
void choose_background_color(HWND) {}

void select_all(HWND editor)
{
    CHARRANGE everything{0, -1};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&everything));
}
