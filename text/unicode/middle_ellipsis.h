// A text too long for its place keeps its beginning and its end, joined by
// "...": a path keeps its drive and the file's own name. Pure text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The UTF-8 text as it is when it has at most `most_characters` characters,
// else shortened in the middle, between characters, to exactly that many
// (the "..." counted). `most_characters` must be more than 3.
std::string shorten_in_middle(std::string_view utf8, std::size_t most_characters);
