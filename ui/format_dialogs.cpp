#include "ui/format_dialogs.h"

#include <commdlg.h>
#include <richedit.h>

#include "editor/char_format.h"
#include "editor/editor_text.h"
#include "win/messages.h"
#include "win/win_handles.h"

namespace {

// The dialog gives sizes in tenths of a point, the control in twips.
constexpr int TWIPS_PER_TENTH_POINT = 2;

// A character height in twips as the font dialog's pixel height (negative:
// the height of the characters, not of the cell).
LONG logfont_height(HWND editor, LONG twips)
{
    const WindowDc dc(editor);
    const int pixels_per_inch = GetDeviceCaps(dc.get(), LOGPIXELSY);
    return MulDiv(twips, pixels_per_inch, -TWIPS_PER_INCH);
}

LOGFONTW logfont_from(HWND editor, const CHARFORMAT2W& format)
{
    LOGFONTW font{};
    font.lfHeight = logfont_height(editor, format.yHeight);
    font.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (format.dwEffects & CFE_ITALIC) ? 1 : 0;
    font.lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? 1 : 0;
    font.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
    font.lfCharSet = format.bCharSet;
    font.lfPitchAndFamily = format.bPitchAndFamily;
    lstrcpynW(font.lfFaceName, format.szFaceName, LF_FACESIZE);
    return font;
}

} // namespace

DWORD effects_from_logfont(const LOGFONTW& font)
{
    // Only a weight of 700 or more counts as bold: a semibold 600 is not.
    return (font.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (font.lfItalic ? CFE_ITALIC : 0) |
           (font.lfUnderline ? CFE_UNDERLINE : 0) | (font.lfStrikeOut ? CFE_STRIKEOUT : 0);
}

bool choose_font(HWND editor)
{
    CHARFORMAT2W format = get_selection_format_w(editor);
    LOGFONTW font = logfont_from(editor, format);

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = editor;
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    dialog.rgbColors = format.crTextColor;
    if (!ChooseFontW(&dialog)) {
        SetFocus(editor);
        return false;
    }

    // One uniform format for the whole selection. The character background
    // is left as it is: the dialog has no say in it.
    format.dwMask = CHAR_FORMAT_MASK & ~CFM_BACKCOLOR;
    format.yHeight = dialog.iPointSize * TWIPS_PER_TENTH_POINT;
    format.dwEffects = effects_from_logfont(font);
    format.crTextColor = dialog.rgbColors;
    format.bCharSet = font.lfCharSet;
    format.bPitchAndFamily = font.lfPitchAndFamily;
    lstrcpynW(format.szFaceName, font.lfFaceName, LF_FACESIZE);
    if (!set_selection_format_w(editor, format)) {
        show_error(editor, IDS_FORMAT_ERROR);
        return false;
    }
    SetFocus(editor);
    return true;
}

bool choose_color(HWND owner, ColorChoice& choice)
{
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = choice.color;
    dialog.lpCustColors = choice.custom_colors.data();
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorW(&dialog))
        return false;
    choice.color = dialog.rgbResult;
    return true;
}

bool choose_background_color(HWND editor, ColorChoice& background)
{
    const bool chosen = choose_color(editor, background);
    if (chosen)
        set_background_color(editor, background.color);
    SetFocus(editor);
    return chosen;
}
