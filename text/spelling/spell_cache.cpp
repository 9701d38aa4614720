#include "text/spelling/spell_cache.h"

#include "text/unicode/code_points.h"
#include "text/unicode/unicode_normalization.h"
#include "text/unicode/unicode_text.h"

namespace {

// Beyond this many verdicts (a long session of many posts), the oldest
// knowledge is not worth its memory: start again.
constexpr std::size_t MOST_WORDS_KEPT = 200'000;

} // namespace

std::vector<Misspelling> SpellCache::misspellings(std::string_view post, const WordCheck& check)
{
    if (words_.size() > MOST_WORDS_KEPT)
        words_.clear();
    std::vector<Misspelling> misspelt;
    ParagraphMap seen;
    SpellContext context = SpellContext::text;
    for_each_paragraph(post, [&](std::size_t start, std::size_t end) {
        const Paragraph& found = paragraph(post.substr(start, end - start), context, check, seen);
        for (const Misspelling& word : found.misspelt)
            misspelt.push_back({start + word.offset, word.length});
        context = found.end;
    });
    paragraphs_ = std::move(seen);
    return misspelt;
}

void SpellCache::clear()
{
    words_.clear();
    paragraphs_.clear();
}

const SpellCache::Paragraph& SpellCache::paragraph(std::string_view text, SpellContext context,
                                                   const WordCheck& check, ParagraphMap& seen)
{
    key_.assign(1, static_cast<char>(context));
    key_.append(text);
    if (const auto now = seen.find(key_); now != seen.end())
        return now->second;
    if (auto before = paragraphs_.find(key_); before != paragraphs_.end())
        return seen.emplace(key_, std::move(before->second)).first->second;

    Paragraph result;
    std::vector<SpellWord> words;
    result.end = find_spell_words(text, context, 0, words);
    for (const SpellWord& word : words)
        if (!is_correct(text, word, check))
            result.misspelt.push_back({word.offset, word.length});
    return seen.emplace(key_, std::move(result)).first->second;
}

bool SpellCache::is_correct(std::string_view text, const SpellWord& word, const WordCheck& check)
{
    if (verdict(text.substr(word.offset, word.length), check))
        return true;
    return word.period_follows && verdict(text.substr(word.offset, word.length + 1), check);
}

bool SpellCache::verdict(std::string_view word, const WordCheck& check)
{
    if (const auto known = words_.find(word); known != words_.end())
        return known->second;
    // Dictionaries hold words composed: "káva" typed with a combining accent
    // is the same word.
    const bool correct = check(to_nfc(word));
    words_.emplace(std::string(word), correct);
    return correct;
}

std::vector<TextRange> utf16_ranges(std::string_view post, const std::vector<Misspelling>& misspelt)
{
    std::vector<TextRange> ranges;
    ranges.reserve(misspelt.size());
    std::size_t byte = 0;
    std::size_t unit = 0;
    auto advance_to = [&](std::size_t offset) {
        unit += utf16_length(post.substr(byte, offset - byte));
        byte = offset;
    };
    for (const Misspelling& word : misspelt) {
        advance_to(word.offset);
        const auto start = static_cast<std::int32_t>(unit);
        advance_to(word.offset + word.length);
        ranges.push_back({start, static_cast<std::int32_t>(unit) - start});
    }
    return ranges;
}

std::vector<TextRange> follow_edit(std::vector<TextRange>& misspelt, std::int32_t start, std::int32_t removed,
                                   std::int32_t inserted)
{
    std::vector<TextRange> gone;
    std::vector<TextRange> kept;
    kept.reserve(misspelt.size());
    for (TextRange range : misspelt) {
        if (range.start + range.length < start) {
            kept.push_back(range);
        } else if (range.start > start + removed) {
            range.start += inserted - removed;
            kept.push_back(range);
        } else {
            gone.push_back(range);
        }
    }
    misspelt = std::move(kept);
    return gone;
}
