#include "editor/wrap_selection.h"

#include "editor/editor_text.h"

CHARRANGE wrap_selection(HWND editor, std::string_view open_tag, std::string_view close_tag, AfterWrap after)
{
    const CHARRANGE inserted = insert_around_selection(editor, open_tag, close_tag);
    if (after == AfterWrap::insertion_selected)
        set_selection(editor, inserted.cpMin, inserted.cpMax);
    return inserted;
}
