#include "editor/char_format.h"

#include <commdlg.h>
#include <richedit.h>

#include "editor/editor_text.h"
#include "win/messages.h"
#include "win/win_handles.h"

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

namespace {

// A character height in twips as the font dialog's pixel height.
LONG logfont_height(HWND editor, LONG twips)
{
    const WindowDc dc(editor);
    const int pixels_per_inch = GetDeviceCaps(dc.get(), LOGPIXELSY);
    return MulDiv(twips, pixels_per_inch, -1440);
}

LOGFONTA logfont_from(HWND editor, const CHARFORMAT2A& format)
{
    LOGFONTA font{};
    font.lfHeight = logfont_height(editor, format.yHeight);
    font.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (format.dwEffects & CFE_ITALIC) ? 1 : 0;
    font.lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? 1 : 0;
    font.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
    font.lfCharSet = format.bCharSet;
    font.lfPitchAndFamily = format.bPitchAndFamily;
    lstrcpynA(font.lfFaceName, format.szFaceName, LF_FACESIZE);
    return font;
}

} // namespace

DWORD effects_from_logfont(const LOGFONTA& font)
{
    // Only a weight of 700 or more counts as bold: a semibold 600 is not.
    return (font.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (font.lfItalic ? CFE_ITALIC : 0) |
           (font.lfUnderline ? CFE_UNDERLINE : 0) | (font.lfStrikeOut ? CFE_STRIKEOUT : 0);
}

bool choose_font(HWND editor)
{
    CHARFORMAT2A format = get_selection_format(editor);
    LOGFONTA font = logfont_from(editor, format);

    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = editor;
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    dialog.rgbColors = format.crTextColor;
    if (!ChooseFontA(&dialog)) {
        SetFocus(editor);
        return false;
    }

    // One uniform format for the whole selection. The character background
    // is left as it is: the dialog has no say in it.
    format.dwMask = CHAR_FORMAT_MASK & ~CFM_BACKCOLOR;
    format.yHeight = dialog.iPointSize * 2;
    format.dwEffects = effects_from_logfont(font);
    format.crTextColor = dialog.rgbColors;
    format.bCharSet = font.lfCharSet;
    format.bPitchAndFamily = font.lfPitchAndFamily;
    lstrcpynA(format.szFaceName, font.lfFaceName, LF_FACESIZE);
    if (!set_selection_format(editor, format)) {
        show_error(editor, IDS_FORMAT_ERROR);
        return false;
    }
    SetFocus(editor);
    return true;
}

bool choose_color(HWND owner, ColorChoice& choice)
{
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = choice.color;
    dialog.lpCustColors = choice.custom_colors.data();
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorA(&dialog))
        return false;
    choice.color = dialog.rgbResult;
    return true;
}

bool choose_background_color(HWND editor, ColorChoice& background)
{
    const bool chosen = choose_color(editor, background);
    if (chosen)
        SendMessageA(editor, EM_SETBKGNDCOLOR, 0, background.color);
    SetFocus(editor);
    return chosen;
}

void select_all(HWND editor)
{
    // Up to the end of the text and no further: selecting past it (0 to -1)
    // takes in the control's closing paragraph mark, which Copy then puts on
    // the clipboard as stray characters behind the post.
    set_selection(editor, 0, text_length(editor));
}
