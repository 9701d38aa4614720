#include "editor/post_link.h"

#include "text/commands/post_link_text.h"
#include "editor/editor_text.h"
#include "win/messages.h"

namespace {

UINT message_for(PostLinkOutcome outcome)
{
    return outcome == PostLinkOutcome::no_hash ? IDS_POST_LINK_NO_HASH : IDS_POST_LINK_NO_COMMA;
}

} // namespace

bool convert_post_link(HWND editor, std::string_view open_tag, std::string_view close_tag)
{
    const PostLinkResult result = post_link_text(get_selected_text(editor), open_tag, close_tag);
    if (result.outcome != PostLinkOutcome::converted) {
        // Nothing in the document changes; the message shows the address form expected.
        show_message(editor, {message_for(result.outcome), 0, MB_OK});
        return false;
    }
    replace_selection(editor, result.replacement);
    return true;
}
