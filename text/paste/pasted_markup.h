// What a paste of formatted text becomes: the post's markup, and which tags
// the converter wrote where, so that the editor can give each tag the look
// its command gives it. Also the choices that shape it. Pure text: no
// Windows headers.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/forum/forum_profile.h"
#include "text/forum/forum_tags.h"

struct PasteOptions {
    // The tags that may be written; the text inside one that may not stays.
    std::bitset<FORUM_TAG_COUNT> tags = std::bitset<FORUM_TAG_COUNT>().set();
    // Whether text colours and font sizes become [color] and [size].
    bool colors_and_sizes = false;
    // The forum the post is written for: its sizes and how deep it nests.
    const ForumProfile* forum = &editor_profile();

    bool allows(ForumTagId tag) const { return tags.test(static_cast<std::size_t>(tag)); }
};

// One tag the converter wrote, from the "[" of its open tag to the "]" of
// its close (for [hr], [*] and a smiley's [img], the tag alone), in UTF-16
// units of the whole markup, as the editor's control counts positions.
struct WrittenTag {
    ForumTagId tag;
    std::size_t begin;
    std::size_t end;
    std::uint32_t rgb = 0; // a [color]'s colour, 0xRRGGBB
};

struct PastedMarkup {
    std::string text; // UTF-8
    // Outer tags before the tags inside them.
    std::vector<WrittenTag> tags;
};

// Why formatted text was not converted, and the plain text pasted instead.
enum class PasteRefusal : std::uint8_t {
    none,
    bad_header,    // "HTML Format" whose header points outside its data
    too_large,     // more HTML than any post could come from
    too_deep,      // elements nested deeper than any page needs
};
