#include "editor/color_tag.h"

#include <string>

#include "text/forum/color_tag_text.h"
#include "editor/editor_text.h"

void insert_color_tag(HWND editor, COLORREF color, std::string_view open_tag, std::string_view close_tag)
{
    // The colour and "] " go in front of the selected text, the close tag behind it.
    const std::string before = color_tag_text(open_tag, color, "", "");
    const CHARRANGE inserted = insert_around_selection(editor, before, close_tag);
    set_selection(editor, inserted.cpMin, inserted.cpMax);
}
