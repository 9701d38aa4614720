// The status bar's counts of a post: its length as the forum measures it,
// the text a reader sees, and its words. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/forum/forum_profile.h"

struct PostCounts {
    // The post as copied, markup included, measured as the profile's forum
    // measures it against its limit (forum_length()): characters, or bytes.
    size_t length = 0;
    // Unicode characters of the post, with the tags that the forum takes as
    // markup left out (see match_tags()), and the address between [img] and
    // [/img] too; a line break (CR LF, LF or CR) is one, and so is a
    // surrogate pair. Tags shown as typed (broken, unknown, inside [code])
    // are text; a quote the forum removes is not.
    size_t characters_without_tags = 0;
    // Words of that text: runs of characters between white space (Unicode
    // White_Space, no-break space included) that hold at least one letter or
    // digit, so a lone dash or ":-)" is no word. Block tags ([quote], [hr],
    // [*], ...) and pictures end a word as a line break would; inline tags
    // do not, so "[b]Ahoj[/b]te" is one word.
    size_t words = 0;
};

// Linear in the length of the post.
PostCounts count_post(std::string_view post, const ForumProfile& profile = editor_profile());

// The post's length by the rule: characters (a surrogate pair is one; a
// broken byte one), or the bytes of the UTF-8 a browser sends (a broken
// byte is a three-byte U+FFFD). Linear.
size_t forum_length(std::string_view post, const CountingRule& rule);

