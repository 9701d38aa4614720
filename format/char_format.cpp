#include "format/char_format.h"

#include <richedit.h>

#include "app/document_state.h"

bool set_default_font(HWND editor)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CHAR_FORMAT_MASK;
    format.dwEffects = 0;
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

// Placeholders until the formatting commands land.
bool choose_font(HWND) { return true; }
void choose_background_color(HWND) {}
void select_all(HWND) {}
