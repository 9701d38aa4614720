#include "text/forum/tag_walk.h"

void walk_tags(std::string_view post, const std::vector<MatchedTag>& tags, TagVisitor& visitor)
{
    size_t text_start = 0;
    const auto text_up_to = [&](const TagToken* next) {
        const size_t end = next ? next->offset : post.size();
        if (end > text_start)
            visitor.text(post.substr(text_start, end - text_start), text_start, next);
    };
    for (size_t i = 0; i < tags.size(); ++i) {
        const MatchedTag& tag = tags[i];
        if (!tag.markup)
            continue; // shown as typed, with the text around it
        const TagToken& token = tag.token;
        text_up_to(&token);
        text_start = token.offset + token.length;
        if (token.closing) {
            visitor.close(token);
            continue;
        }
        if (tag.fault == TagFault::quote_removed) {
            const TagToken& close = tags[tag.partner].token;
            visitor.removed_quote(token, close);
            i = tag.partner;
            text_start = close.offset + close.length;
            continue;
        }
        visitor.open(token);
        if (is_literal_tag(token.id)) {
            // The scanner gives the close right after the open.
            const size_t close = tags[tag.partner].token.offset;
            visitor.literal(token, post.substr(text_start, close - text_start), text_start);
            text_start = close;
        }
    }
    text_up_to(nullptr);
}
