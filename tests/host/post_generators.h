// Generated forum posts for the tag check, count and preview tests: markup
// that nests properly, then a few slips of the kind people make.
#pragma once

#include "text_generators.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gen {

// Open and close tags that need a close, as a post writes them.
inline const std::vector<std::pair<std::string_view, std::string_view>> PAIRED_TAGS = {
    {"[b]", "[/b]"},         {"[I]", "[/i]"},         {"[u]", "[/u]"},           {"[s]", "[/s]"},
    {"[url=http://a.b]", "[/url]"}, {"[email]", "[/email]"}, {"[quote]", "[/quote]"}, {"[quote=Petr]", "[/quote]"},
    {"[code]", "[/code]"},   {"[center]", "[/center]"}, {"[size=22px]", "[/size]"}, {"[color=#008080]", "[/color]"},
    {"[list]", "[/list]"},   {"[list=1]", "[/list]"}, {"[img]", "[/img]"},
};

inline const std::vector<std::string_view> TEXT_PIECES = {
    "Ahoj", " ", "světe", "\r\n", "\n", "\r", "[*]", "[hr]", "x", "{\\}", "–", "😀", "[foo]", "[", "]", "\t",
};

// Properly nested markup around text, as a list of pieces.
inline std::vector<std::string> nested_markup(Random& random, size_t pieces)
{
    std::vector<std::string> post;
    std::vector<std::string_view> open;
    while (post.size() < pieces) {
        const size_t choice = below(random, 10);
        if (choice < 3) {
            const auto& [opening, closing] = PAIRED_TAGS[below(random, PAIRED_TAGS.size())];
            post.emplace_back(opening);
            open.push_back(closing);
        } else if (choice < 5 && !open.empty()) {
            post.emplace_back(open.back());
            open.pop_back();
        } else {
            post.emplace_back(TEXT_PIECES[below(random, TEXT_PIECES.size())]);
        }
    }
    while (!open.empty()) {
        post.emplace_back(open.back());
        open.pop_back();
    }
    return post;
}

// Nested markup with up to three slips: a piece left out, doubled, or
// swapped with the next.
inline std::string post_with_slips(Random& random, size_t pieces)
{
    std::vector<std::string> post = nested_markup(random, pieces);
    for (size_t slips = below(random, 4); slips > 0 && post.size() > 1; --slips) {
        const size_t at = below(random, post.size() - 1);
        switch (below(random, 3)) {
        case 0:
            post.erase(post.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 1:
            post.insert(post.begin() + static_cast<std::ptrdiff_t>(at), post[at]);
            break;
        default:
            std::swap(post[at], post[at + 1]);
            break;
        }
    }
    std::string text;
    for (const std::string& piece : post)
        text += piece;
    return text;
}

} // namespace gen
