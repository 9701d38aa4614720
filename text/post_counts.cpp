#include "text/post_counts.h"

#include "text/code_points.h"
#include "text/tag_match.h"

namespace {

class WordCounter {
public:
    void add(char32_t c)
    {
        if (is_white_space(c)) {
            end_word();
        } else if (!counted_ && is_word_character(c)) {
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

} // namespace

PostCounts count_post(std::string_view post)
{
    PostCounts counts;
    counts.characters = count_characters(post, nullptr);

    WordCounter words;
    const std::vector<MatchedTag> tags = match_tags(post);
    size_t text_start = 0;
    for (const MatchedTag& tag : tags) {
        if (!tag.markup)
            continue;
        const TagToken& token = tag.token;
        counts.characters_without_tags +=
            count_characters(post.substr(text_start, token.offset - text_start), &words);
        text_start = token.offset + token.length;
        if (is_block_tag(token.id) || token.id == ForumTagId::img)
            words.end_word();
        // The address of a picture is no text: go on from its close.
        if (token.id == ForumTagId::img && !token.closing)
            text_start = tags[tag.partner].token.offset;
    }
    counts.characters_without_tags += count_characters(post.substr(text_start), &words);
    counts.words = words.words();
    return counts;
}
