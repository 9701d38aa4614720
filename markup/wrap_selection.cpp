#include "markup/wrap_selection.h"

#include "app/document_state.h"
#include "markup/editor_selection.h"

void wrap_selection(HWND editor, std::string_view open_tag, std::string_view close_tag)
{
    const CHARRANGE inserted = insert_around_selection(editor, open_tag, close_tag);
    if (g_doc.select_after_wrap) {
        // Leave the insertion selected, so that the command can format it
        // and a second command can wrap it again.
        set_selection(editor, inserted.cpMin, inserted.cpMax);
        g_doc.format_reset_pending = true;
    } else {
        g_doc.format_reset_pending = false;
    }
}
