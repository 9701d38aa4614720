#include "text/commands/post_link_text.h"

PostLinkResult post_link_text(std::string_view selection, std::string_view open_tag,
                              std::string_view close_tag)
{
    const size_t hash = selection.find('#');
    if (hash == std::string_view::npos)
        return {PostLinkOutcome::no_hash, {}};

    // A comma at the very start cannot end a query, so it does not count.
    const size_t comma = selection.rfind(',', hash);
    if (comma == std::string_view::npos || comma == 0)
        return {PostLinkOutcome::no_comma_before_hash, {}};

    constexpr std::string_view post_anchor = "#msg-";
    const std::string_view address = selection.substr(0, hash);
    const std::string_view post_number = selection.substr(comma + 1, hash - comma - 1);

    std::string text;
    text.reserve(open_tag.size() + address.size() + post_anchor.size() + post_number.size() +
                 close_tag.size());
    text.append(open_tag).append(address).append(post_anchor).append(post_number).append(close_tag);
    return {PostLinkOutcome::converted, std::move(text)};
}
