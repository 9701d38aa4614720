// The text logic of the post link command: a forum post address such as
// FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY" becomes a link to that
// one post, FORUM_BASE_URL "/read.php?23,1676166,1676237#msg-1676237",
// wrapped in the tags the caller gives. Pure text: no Windows headers.
#pragma once

#include <string>
#include <string_view>

enum class PostLinkOutcome {
    converted,
    no_comma_before_hash, // the message that begins "(1)"
    no_hash,              // the message that begins "(2)"
};

struct PostLinkResult {
    PostLinkOutcome outcome;
    // open_tag + link + close_tag when converted; empty otherwise.
    std::string replacement;
};

// Converts a selected post address. The link is everything before the first
// "#", then "#msg-", then the text between the last "," before that "#" and
// the "#" (the post number; not checked to be digits). A comma that is the
// first character of the selection does not count. Any length of selection.
PostLinkResult post_link_text(std::string_view selection, std::string_view open_tag,
                              std::string_view close_tag);
