// The status bar's counts of a post: characters as the forum counts them,
// the text a reader sees, and its words. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string_view>

struct PostCounts {
    // Unicode characters of the post as copied, markup included. A line
    // break (CR LF, LF or CR) is one character, and so is a surrogate pair.
    size_t characters = 0;
    // The same, with the tags that the forum takes as markup left out (see
    // match_tags()), and the address between [img] and [/img] too. Tags shown
    // as typed (broken, unknown, inside [code]) are text.
    size_t characters_without_tags = 0;
    // Words of that text: runs of characters between white space (Unicode
    // White_Space, no-break space included) that hold at least one letter or
    // digit, so a lone dash or ":-)" is no word. Block tags ([quote], [hr],
    // [*], ...) and pictures end a word as a line break would; inline tags
    // do not, so "[b]Ahoj[/b]te" is one word.
    size_t words = 0;
};

// Linear in the length of the post.
PostCounts count_post(std::string_view post);

