#include "markup/post_link.h"

#include "markup/editor_selection.h"
#include "markup/post_link_text.h"

void convert_post_link(HWND editor, std::string_view open_tag, std::string_view close_tag)
{
    const PostLinkResult result = post_link_text(get_selected_text(editor), open_tag, close_tag);
    if (result.outcome != PostLinkOutcome::converted) {
        // Nothing in the document changes; the message shows the address form expected.
        MessageBoxA(nullptr, post_link_message(result.outcome), "", MB_OK);
        return;
    }
    replace_selection(editor, result.replacement);
}
