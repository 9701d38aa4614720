// What spell checking has already found out: the verdict on each word a
// dictionary was asked about, and the misspelt words of each paragraph as
// it last stood, so that after an edit only the changed paragraphs are
// looked at again, and only the words never seen before reach a
// dictionary. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/history/edit_history.h"
#include "text/spelling/spell_words.h"

// A misspelt word: where it stands, in bytes of the post.
struct Misspelling {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool operator==(const Misspelling&) const = default;
};

// Whether the dictionaries accept a word (UTF-8).
using WordCheck = std::function<bool(std::string_view word)>;

class SpellCache {
public:
    // The misspelt words of the post, in order, as typed. A word is correct
    // when `check` accepts it in normalisation form C, or, followed by a
    // period, accepts it with the period. Paragraphs (and the tags before them) that the last call saw
    // cost no call of `check`; nor does a word seen before.
    std::vector<Misspelling> misspellings(std::string_view post, const WordCheck& check);

    // The dictionaries changed their mind (another language, a word
    // added): everything is asked again.
    void clear();

    // How many words have a verdict, and how many paragraphs are kept.
    std::size_t words_known() const { return words_.size(); }
    std::size_t paragraphs_known() const { return paragraphs_.size(); }

private:
    struct Paragraph {
        SpellContext end = SpellContext::text;
        std::vector<Misspelling> misspelt; // offsets from the paragraph's start
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    using WordMap = std::unordered_map<std::string, bool, Hash, std::equal_to<>>;
    using ParagraphMap = std::unordered_map<std::string, Paragraph, Hash, std::equal_to<>>;

    const Paragraph& paragraph(std::string_view text, SpellContext context, const WordCheck& check,
                               ParagraphMap& seen);
    bool is_correct(std::string_view text, const SpellWord& word, const WordCheck& check);
    bool verdict(std::string_view word, const WordCheck& check);

    WordMap words_;
    // Keyed by the context the paragraph starts in and its text; only the
    // paragraphs of the last post are kept.
    ParagraphMap paragraphs_;
    std::string key_; // reused, so that a look-up allocates nothing
};

// The same ranges in UTF-16 units, as the rich-edit control counts its
// positions; `misspelt` must be in order. Linear in the post's length.
std::vector<TextRange> utf16_ranges(std::string_view post, const std::vector<Misspelling>& misspelt);

// The misspelt ranges after an edit that replaced `removed` characters at
// `start` by `inserted` ones: those before it stay, those after it move,
// and those that touch it go until the text is checked again. Returns the
// ranges that went.
std::vector<TextRange> follow_edit(std::vector<TextRange>& misspelt, std::int32_t start, std::int32_t removed,
                                   std::int32_t inserted);
