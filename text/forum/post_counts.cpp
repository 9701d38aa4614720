#include "text/forum/post_counts.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/unicode/ascii_case.h"
#include "text/unicode/code_points.h"
#include "text/forum/tag_match.h"
#include "text/unicode/unicode_normalization.h"

namespace {

class WordCounter {
public:
    void add(char32_t c)
    {
        if (is_white_space(c)) {
            end_word();
        } else if (!counted_ && is_word_character(c) && !(c >= 0x300 && is_joining_mark(c))) {
            ++words_;
            counted_ = true;
        }
    }
    void end_word() { counted_ = false; }
    size_t words() const { return words_; }

private:
    size_t words_ = 0;
    bool counted_ = false; // the current run has been counted as a word
};

// Counts the characters of text, a CR LF as one, and feeds them to words
// when given.
size_t count_characters(std::string_view text, WordCounter* words)
{
    size_t characters = 0;
    for (size_t at = 0; at < text.size(); ++characters) {
        const auto byte = static_cast<unsigned char>(text[at]);
        // ASCII, most of a post, needs no decoding.
        const CodePoint c = byte < 0x80 ? CodePoint{byte, 1} : decode_code_point(text, at);
        at += c.length;
        if (c.value == '\r' && at < text.size() && text[at] == '\n')
            ++at; // one line break
        if (words)
            words->add(c.value);
    }
    return characters;
}

// PHP's trim(): " \t\n\r\0\x0B".
constexpr bool is_php_blank(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0 || c == 0x0B;
}

// MyBB's trim_blank_chrs() (inc/functions.php): the characters of its
// $hex_chrs table at the start; at the end those of $hex_chrs_rev, which
// also holds U+2060.
bool is_mybb_blank(char32_t c, bool at_end)
{
    if (c == 0x09 || c == 0x0A || c == 0x0B || c == 0x0D || c == 0x20)
        return true;
    if (c < 0x80)
        return false;
    switch (c) {
    case 0x81: case 0x8D: case 0x90: case 0x9D: case 0xA0: case 0xAD: case 0x337: case 0x338: case 0x115F:
    case 0x1160: case 0x1680: case 0x180E: case 0x205F: case 0x3000: case 0x3164: case 0xFEFF: case 0xFFA0:
        return true;
    case 0x2060:
        return at_end;
    default:
        break;
    }
    return (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) || (c >= 0xFFF9 && c <= 0xFFFB);
}

// The start of the character that ends at `end`.
size_t previous_character(std::string_view text, size_t end)
{
    size_t start = end - 1;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        --start;
    return decode_code_point(text, start).length == end - start ? start : end - 1;
}

template <typename IsBlank>
std::string_view trim_with(std::string_view text, IsBlank is_blank)
{
    size_t first = 0;
    while (first < text.size()) {
        const CodePoint c = decode_code_point(text, first);
        if (!is_blank(c.value, false))
            break;
        first += c.length;
    }
    size_t last = text.size();
    while (last > first) {
        const size_t start = previous_character(text, last);
        if (!is_blank(decode_code_point(text, start).value, true))
            break;
        last = start;
    }
    return text.substr(first, last - first);
}

std::string_view trimmed(std::string_view post, Trim trim)
{
    const auto php_blank = [](char32_t c, bool) { return is_php_blank(c); };
    switch (trim) {
    case Trim::none:
        return post;
    case Trim::php_trim:
        return trim_with(post, php_blank);
    case Trim::mybb_blank:
        // Its own table, then trim() once more.
        return trim_with(trim_with(post, is_mybb_blank), php_blank);
    }
    return post;
}

size_t utf8_bytes(char32_t c)
{
    if (c < 0x80)
        return 1;
    if (c < 0x800)
        return 2;
    if (c < 0x10000)
        return 3; // a lone surrogate goes as U+FFFD, three bytes too
    return 4;
}

bool is_ascii_digit(char c)
{
    return c >= '0' && c <= '9';
}

// SMF's $ent_list at `at` (which holds "&"): its length, and whether
// $ent_check lets it stand (entity_fix__callback removes a number below
// 0x20, beyond 0x10FFFF, a surrogate and the direction overrides).
struct TypedEntity {
    size_t length = 0;
    bool kept = true;
};

TypedEntity typed_entity(std::string_view text, size_t at)
{
    const std::string_view rest = text.substr(at);
    for (std::string_view name : {"&quot;", "&amp;", "&lt;", "&gt;", "&nbsp;"})
        if (rest.starts_with(name))
            return {name.size(), true};
    if (!rest.starts_with("&#"))
        return {};
    size_t end = 2;
    uint32_t value = 0;
    while (end < rest.size() && end < 9 && is_ascii_digit(rest[end]))
        value = value * 10 + static_cast<uint32_t>(rest[end++] - '0');
    if (end == 2 || end >= rest.size() || rest[end] != ';')
        return {};
    const bool kept = value >= 0x20 && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF) &&
                      value != 0x202E && value != 0x202D;
    return {end + 1, kept};
}

// "script:", "about:", "applet:", "activex:", "chrome:" in any case, as
// phpBB's message_parser.php, parse(), finds them: each colon is written
// "&#058;", five characters more.
size_t script_colons(std::string_view text)
{
    size_t found = 0;
    for (size_t colon = text.find(':'); colon != std::string_view::npos; colon = text.find(':', colon + 1)) {
        for (std::string_view word : {"script", "about", "applet", "activex", "chrome"}) {
            if (colon < word.size())
                continue;
            if (equals_ignoring_case(text.substr(colon - word.size(), word.size()), word)) {
                ++found;
                break;
            }
        }
    }
    return found;
}

// Where the run of ASCII from `at` ends that no rule treats specially:
// no line break, no character htmlspecialchars() or an entity touches, no NUL.
size_t plain_ascii_run_end(std::string_view text, size_t at)
{
    static constexpr auto PLAIN = [] {
        std::array<bool, 256> plain{};
        for (int c = 1; c < 0x80; ++c)
            plain[static_cast<size_t>(c)] = c != '\r' && c != '\n' && c != '&' && c != '"' && c != '<' && c != '>';
        return plain;
    }();
    while (at < text.size() && PLAIN[static_cast<unsigned char>(text[at])])
        ++at;
    return at;
}

} // namespace

size_t forum_length(std::string_view post, const CountingRule& rule)
{
    const std::string_view text = trimmed(post, rule.trim);
    size_t length = 0;
    size_t line_breaks = 0;
    size_t escapes = 0; // characters htmlspecialchars() adds
    size_t removed = 0; // characters that NFC composes away
    // NFC: the stretch from the last character it leaves alone (see nfc_length()).
    size_t stretch_start = 0;
    size_t stretch_characters = 0;
    auto close_stretch = [&](size_t at) {
        if (stretch_characters > 1) {
            const std::string_view stretch = text.substr(stretch_start, at - stretch_start);
            if (stretch.find('\0') == std::string_view::npos) {
                removed += nfc_shrinkage(stretch);
            } else { // without the NUL that set_var() took out
                std::string joined(stretch);
                std::erase(joined, '\0');
                removed += nfc_shrinkage(joined);
            }
        }
        stretch_start = at;
        stretch_characters = 0;
    };
    for (size_t at = 0; at < text.size();) {
        // A run of plain ASCII, most of a post, counts a character a byte.
        const size_t run_end = plain_ascii_run_end(text, at);
        if (run_end > at) {
            length += run_end - at;
            if (rule.nfc) {
                close_stretch(at);
                stretch_start = run_end - 1; // ASCII normalises to itself
                stretch_characters = 1;
            }
            at = run_end;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            const CodePoint c = decode_code_point(text, at);
            if (rule.nfc) {
                if (is_nfc_stable(c.value))
                    close_stretch(at);
                ++stretch_characters;
            }
            length += rule.unit == LengthUnit::bytes ? utf8_bytes(c.value) : 1;
            at += c.length;
            continue;
        }
        // set_var() removes NUL before NFC, which may join what stood around it.
        if (byte == 0 && rule.html_escapes_expand) {
            ++at;
            continue;
        }
        // ASCII that a rule treats specially; NFC leaves it alone and joins
        // it to nothing.
        if (rule.nfc) {
            close_stretch(at);
            stretch_characters = 1;
        }
        if (const size_t line_break = line_break_length(text, at)) {
            ++line_breaks;
            at += line_break;
            continue;
        }
        if (byte == '&' && rule.typed_entities_count_one) {
            if (const TypedEntity entity = typed_entity(text, at); entity.length != 0) {
                length += entity.kept ? 1 : 0;
                at += entity.length;
                continue;
            }
        }
        if (rule.html_escapes_expand) {
            if (byte == '&')
                escapes += 4; // &amp;
            else if (byte == '"')
                escapes += 5; // &quot;
            else if (byte == '<' || byte == '>')
                escapes += 3; // &lt; &gt;
        }
        ++length;
        ++at;
    }
    if (rule.nfc)
        close_stretch(text.size());
    if (rule.script_colons_expand) {
        // On the text as set_var() left it, without NUL.
        std::string without_nul;
        if (text.find('\0') != std::string_view::npos) {
            without_nul.assign(text);
            std::erase(without_nul, '\0');
        }
        escapes += 5 * script_colons(without_nul.empty() ? text : std::string_view(without_nul));
    }
    return length + line_breaks * rule.line_break_length + escapes - removed;
}

PostCounts count_post(std::string_view post, const ForumProfile& profile)
{
    PostCounts counts;
    counts.length = forum_length(post, profile.counting);

    WordCounter words;
    const std::vector<MatchedTag> tags = match_tags(post, profile);
    size_t text_start = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        const MatchedTag& tag = tags[i];
        if (!tag.markup)
            continue;
        const TagToken& token = tag.token;
        counts.characters_without_tags +=
            count_characters(post.substr(text_start, token.offset - text_start), &words);
        text_start = token.offset + token.length;
        if (is_block_tag(token.id) || token.id == ForumTagId::img)
            words.end_word();
        // The address of a picture is no text: go on from its close; a
        // removed quote and all it holds are gone.
        if (token.id == ForumTagId::img && !token.closing)
            text_start = tags[tag.partner].token.offset;
        if (tag.fault == TagFault::quote_removed) {
            i = tag.partner;
            text_start = tags[i].token.offset + tags[i].token.length;
        }
    }
    counts.characters_without_tags += count_characters(post.substr(text_start), &words);
    counts.words = words.words();
    return counts;
}
