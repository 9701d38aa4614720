#include "markup/color_tag.h"

#include "app/document_state.h"
#include "format/char_format.h"
#include "markup/color_tag_text.h"
#include "markup/editor_selection.h"

#include <string>

bool tag_color_dialog(HWND owner, HWND editor, std::string_view open_tag, std::string_view close_tag)
{
    // The tag colour and its custom colours are the tag dialog's own, not
    // the background dialog's.
    if (!choose_color(owner, g_doc.tag_color, g_doc.tag_custom_colors))
        return false;

    // The colour and "] " go in front of the selected text, the close tag behind it.
    const std::string before = color_tag_text(open_tag, g_doc.tag_color, "", "");
    const CHARRANGE inserted = insert_around_selection(editor, before, close_tag);
    set_selection(editor, inserted.cpMin, inserted.cpMax);
    return true;
}
