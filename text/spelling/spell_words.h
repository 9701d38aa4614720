// The words of a post that spell checking looks at. Tags and their values,
// whatever stands inside [code], [img] and [email], web and e-mail
// addresses (so also the address a [url] holds), tokens with digits and
// smiley codes are no words. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/unicode/code_points.h"

// Longer words (in characters) are not checked: no dictionary holds them,
// and a dictionary's work grows with the word.
inline constexpr std::size_t LONGEST_CHECKED_WORD = 100;

struct SpellWord {
    std::size_t offset = 0; // bytes, from the start of the post
    std::size_t length = 0; // bytes
    // A "." follows at once: the word may be an abbreviation ("atd.") that a
    // dictionary holds with its period.
    bool period_follows = false;
    bool operator==(const SpellWord&) const = default;
};

// What the text at some point of the post is, as far as spelling goes: the
// words after a paragraph depend on the tags before it.
enum class SpellContext : std::uint8_t {
    text,
    code,    // inside [code]
    picture, // inside [img]
    email,   // inside [email]
};

// Appends the words of `stretch` (a paragraph, or the whole post), read
// from `context` on, to `words`, their offsets counted from `base`; returns
// the context at the end of the stretch. A [code] that is never closed
// hides the rest of the post, as it does while the user is typing it.
// Hyphenated words are one word ("česko-slovenský"); quotes and punctuation
// at a word's edges are not part of it. Linear in the stretch's length.
SpellContext find_spell_words(std::string_view stretch, SpellContext context, std::size_t base,
                              std::vector<SpellWord>& words);

// The words of a whole post, read paragraph by paragraph: a tag never
// runs over a line break.
std::vector<SpellWord> find_spell_words(std::string_view post);

// Calls `paragraph(start, end)` with the byte range of each paragraph of
// the post, line breaks left out; an empty post is one empty paragraph.
template <typename Call>
void for_each_paragraph(std::string_view post, Call&& paragraph)
{
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        std::size_t line_break = 0;
        while (end < post.size() && (line_break = line_break_length(post, end)) == 0)
            ++end;
        paragraph(start, end);
        if (end == post.size())
            return;
        start = end + line_break;
    }
}
