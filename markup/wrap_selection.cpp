#include "markup/wrap_selection.h"

#include "app/document_state.h"
#include "markup/editor_selection.h"
#include "markup/tag_text.h"

void wrap_selection(HWND editor, std::string_view open_tag, std::string_view close_tag)
{
    const LONG start = get_selection(editor).cpMin;
    const std::string replacement = wrap_text(open_tag, get_selected_text(editor), close_tag);
    replace_selection(editor, replacement);

    if (g_doc.select_after_wrap) {
        // Take the end from the caret: the control may count a line break
        // as one character or as two, and only it knows which.
        set_selection(editor, start, get_selection(editor).cpMax);
        g_doc.format_reset_pending = true;
    } else {
        g_doc.format_reset_pending = false;
    }
}
