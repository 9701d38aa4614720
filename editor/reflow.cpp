#include "editor/reflow.h"

#include "editor/editor_text.h"
#include "text/commands/reflow_text.h"

void break_long_lines(HWND editor)
{
    // Short selections come back unchanged, but are put back all the same.
    replace_selection(editor, reflow_for_forum(get_selected_text(editor)));
}
