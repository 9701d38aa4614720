#include "text/spelling/spell_words.h"

#include <optional>

#include "text/unicode/ascii_case.h"
#include "text/unicode/code_points.h"
#include "text/forum/forum_tags.h"
#include "text/unicode/unicode_normalization.h"
#include "text/unicode/unicode_text.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool is_digit(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= 0xFF10 && c <= 0xFF19); // ASCII and full-width
}

// Joins two parts of one word: "rock'n'roll", "česko-slovenský".
bool is_joiner(char32_t c)
{
    return c == U'-' || c == U'\'' || c == 0x2019 || c == 0x2010 || c == 0x2011;
}

bool is_ascii_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The token without the punctuation, quotes and brackets at its edges.
std::string_view without_edges(std::string_view token)
{
    std::size_t first = 0;
    while (first < token.size()) {
        const CodePoint c = decode_code_point(token, first);
        if (is_word_character(c.value))
            break;
        first += c.length;
    }
    std::size_t last = token.size();
    while (last > first) {
        std::size_t start = last - 1;
        while (start > first && (static_cast<unsigned char>(token[start]) & 0xC0) == 0x80)
            --start;
        if (is_word_character(decode_code_point(token, start).value))
            break;
        last = start;
    }
    return token.substr(first, last - first);
}

// "seznam.cz", "example.org/page": ASCII labels joined by dots, the last
// of two to six letters.
bool is_domain(std::string_view text)
{
    text = text.substr(0, text.find('/'));
    const std::size_t last_dot = text.rfind('.');
    if (last_dot == npos || last_dot == 0)
        return false;
    const std::string_view top = text.substr(last_dot + 1);
    if (top.size() < 2 || top.size() > 6)
        return false;
    for (char c : top)
        if (!is_ascii_letter(c))
            return false;
    char previous = '.';
    for (char c : text.substr(0, last_dot)) {
        const bool allowed = is_ascii_letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!allowed || (c == '.' && previous == '.'))
            return false;
        previous = c;
    }
    return previous != '.';
}

bool is_address(std::string_view token)
{
    const std::string_view core = without_edges(token);
    const std::size_t at = core.find('@');
    return token.find("://") != npos || starts_with_ignoring_case(core, "www.") ||
           (at != npos && at > 0 && at + 1 < core.size()) || is_domain(core);
}

bool is_smiley_code(std::string_view token)
{
    while (!token.empty() && (token.back() == '.' || token.back() == ',' || token.back() == '!' || token.back() == '?'))
        token.remove_suffix(1);
    if (token.size() >= 3 && token.front() == ':' && token.back() == ':') {
        for (char c : token.substr(1, token.size() - 2))
            if (!is_ascii_letter(c) && c != '_' && c != '-' && c != '!' && c != '?')
                return false;
        return true; // ":lol:", ":roll:"
    }
    if (token == "xD" || token == "XD" || token == "xd" || token == "o_O" || token == "O_o" || token == "o.O" ||
        token == "O.o")
        return true;
    std::string_view face = token;
    if (!face.empty() && face.front() == '>')
        face.remove_prefix(1); // ">:D"
    if (face.size() < 2 || face.size() > 4 || (face[0] != ':' && face[0] != ';' && face[0] != '='))
        return false;
    face.remove_prefix(1);
    if (face.size() > 1 && (face[0] == '-' || face[0] == '\'' || face[0] == '^' || face[0] == 'o'))
        face.remove_prefix(1);
    // A mouth of one or two characters: ":D", ":-P", ":((".
    return face.size() <= 2 && (face.size() == 1 || face[0] == face[1] || !is_ascii_letter(face[1]));
}

bool has_digit(std::string_view token)
{
    for (std::size_t at = 0; at < token.size();) {
        const CodePoint c = decode_code_point(token, at);
        if (is_digit(c.value))
            return true;
        at += c.length;
    }
    return false;
}

// A character that can start a word or stand in it. Combining marks and
// joiners only belong to the letter before them: a lone variation
// selector after a pictograph is no word.
bool is_letter_of_word(char32_t c)
{
    return !is_surrogate(c) && is_word_character(c) && !is_joining_mark(c);
}

// A word of the token from `start` (bytes), added if it may be checked.
void add_word(std::string_view token, std::size_t start, std::size_t end, std::size_t base,
              std::vector<SpellWord>& words)
{
    std::size_t characters = 0;
    for (std::size_t at = start; at < end;) {
        const CodePoint c = decode_code_point(token, at);
        // A dictionary takes characters of the Basic Multilingual Plane only.
        if (c.value > 0xFFFF || c.value == REPLACEMENT_CHARACTER || ++characters > LONGEST_CHECKED_WORD)
            return;
        at += c.length;
    }
    words.push_back({base + start, end - start, end < token.size() && token[end] == '.'});
}

// The words of one run of characters without white space.
void add_words_of_token(std::string_view token, std::size_t base, std::vector<SpellWord>& words)
{
    if (is_address(token) || is_smiley_code(token) || has_digit(token))
        return;
    std::optional<std::size_t> word_start;
    std::size_t at = 0;
    while (at < token.size()) {
        const CodePoint c = decode_code_point(token, at);
        const std::size_t next = at + c.length;
        if (word_start && is_joining_mark(c.value)) {
            // "a" + U+0301 is one letter, "á", as typed.
        } else if (is_letter_of_word(c.value)) {
            if (!word_start)
                word_start = at;
        } else if (!(word_start && is_joiner(c.value) && next < token.size() &&
                     is_letter_of_word(decode_code_point(token, next).value))) {
            if (word_start)
                add_word(token, *word_start, at, base, words);
            word_start.reset();
        }
        at = next;
    }
    if (word_start)
        add_word(token, *word_start, token.size(), base, words);
}

// The words of text with no tags in it.
void add_words_of_text(std::string_view text, std::size_t base, std::vector<SpellWord>& words)
{
    std::size_t at = 0;
    std::optional<std::size_t> token_start;
    while (at < text.size()) {
        const CodePoint c = decode_code_point(text, at);
        if (is_white_space(c.value)) {
            if (token_start)
                add_words_of_token(text.substr(*token_start, at - *token_start), base + *token_start, words);
            token_start.reset();
        } else if (!token_start) {
            token_start = at;
        }
        at += c.length;
    }
    if (token_start)
        add_words_of_token(text.substr(*token_start), base + *token_start, words);
}

// The context after a tag. Inside [code], [img] and [email] only their own
// close counts.
SpellContext context_after(SpellContext context, const TagToken& tag)
{
    switch (context) {
    case SpellContext::code: return tag.closing && tag.id == ForumTagId::code ? SpellContext::text : context;
    case SpellContext::picture: return tag.closing && tag.id == ForumTagId::img ? SpellContext::text : context;
    case SpellContext::email: return tag.closing && tag.id == ForumTagId::email ? SpellContext::text : context;
    case SpellContext::text: break;
    }
    if (tag.closing)
        return context;
    switch (tag.id) {
    case ForumTagId::code: return SpellContext::code;
    case ForumTagId::img: return SpellContext::picture;
    case ForumTagId::email: return SpellContext::email;
    default: return context;
    }
}

} // namespace

SpellContext find_spell_words(std::string_view stretch, SpellContext context, std::size_t base,
                              std::vector<SpellWord>& words)
{
    TagScanner tags(stretch);
    std::size_t at = 0;
    while (const std::optional<TagToken> tag = tags.next()) {
        if (context == SpellContext::text)
            add_words_of_text(stretch.substr(at, tag->offset - at), base + at, words);
        context = context_after(context, *tag);
        at = tag->offset + tag->length;
    }
    if (context == SpellContext::text)
        add_words_of_text(stretch.substr(at), base + at, words);
    return context;
}

std::vector<SpellWord> find_spell_words(std::string_view post)
{
    std::vector<SpellWord> words;
    SpellContext context = SpellContext::text;
    for_each_paragraph(post, [&](std::size_t start, std::size_t end) {
        context = find_spell_words(post.substr(start, end - start), context, start, words);
    });
    return words;
}
