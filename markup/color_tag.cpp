#include "markup/color_tag.h"

#include <commdlg.h>

#include "app/document_state.h"
#include "markup/color_tag_text.h"
#include "markup/editor_selection.h"

#include <string>

namespace {

// The colour dialog, opening on the colour chosen last and keeping its own
// custom colours (not the background dialog's). False when cancelled.
bool pick_tag_color(HWND owner)
{
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = g_doc.tag_color;
    dialog.lpCustColors = g_doc.tag_custom_colors.data();
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorA(&dialog))
        return false;
    g_doc.tag_color = dialog.rgbResult;
    return true;
}

} // namespace

bool tag_color_dialog(HWND owner, HWND editor, std::string_view open_tag, std::string_view close_tag)
{
    if (!pick_tag_color(owner))
        return false;

    // The colour and "] " go in front of the selected text, the close tag behind it.
    const std::string before = color_tag_text(open_tag, g_doc.tag_color, "", "");
    const CHARRANGE inserted = insert_around_selection(editor, before, close_tag);
    set_selection(editor, inserted.cpMin, inserted.cpMax);
    return true;
}
