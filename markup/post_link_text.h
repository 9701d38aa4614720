// The text logic of the post link command: a forum post address such as
// FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY" becomes a link to that
// one post, FORUM_BASE_URL "/read.php?23,1676166,1676237#msg-1676237",
// wrapped in the tags the caller gives. Pure text: no Windows headers.
#pragma once

#include "markup/forum_urls.h"

#include <string>
#include <string_view>

#define POST_LINK_EXAMPLE "Spravny tvar napr:\n" FORUM_BASE_URL "/read.php?23,1676166,1676237#REPLY"

// Shown when a "#" is there but no usable comma stands before the first one.
inline constexpr char POST_LINK_MESSAGE_NO_COMMA[] = "(1) Vybrana adresa je neplatna\n" POST_LINK_EXAMPLE;
// Shown when the selection holds no "#" at all (also when it is empty).
inline constexpr char POST_LINK_MESSAGE_NO_HASH[] = "(2) Vybrana adresa je neplatna\n" POST_LINK_EXAMPLE;

#undef POST_LINK_EXAMPLE

enum class PostLinkOutcome {
    converted,
    no_comma_before_hash, // message (1)
    no_hash,              // message (2)
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

// The message box text for a failed conversion; nullptr when converted.
const char* post_link_message(PostLinkOutcome outcome);
