#include "text/spelling/spell_cache.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "post_generators.h"

namespace {

// A dictionary that knows a few words and counts what it was asked.
struct FakeDictionary {
    std::set<std::string, std::less<>> known{"Ahoj", "světe", "atd.", "a", "je", "tu", "chyba"};
    std::vector<std::string> asked;
    WordCheck check()
    {
        return [this](std::string_view word) {
            asked.emplace_back(word);
            return known.contains(word);
        };
    }
};

std::vector<std::string> texts(std::string_view post, const std::vector<Misspelling>& misspelt)
{
    std::vector<std::string> found;
    for (const Misspelling& word : misspelt)
        found.emplace_back(post.substr(word.offset, word.length));
    return found;
}

TEST(SpellCache, AsksOnlyForWordsOfChangedParagraphsAndNeverTwice)
{
    FakeDictionary dictionary;
    SpellCache cache;
    const std::string post = "Ahoj svete atd.\nje tu chiba\nAhoj";
    EXPECT_EQ(texts(post, cache.misspellings(post, dictionary.check())), (std::vector<std::string>{"svete", "chiba"}));
    // "atd" alone is no word; with its period it is.
    EXPECT_EQ(dictionary.asked, (std::vector<std::string>{"Ahoj", "svete", "atd", "atd.", "je", "tu", "chiba"}));

    dictionary.asked.clear();
    const std::string edited = "Ahoj svete atd.\nje tu chyba\nAhoj";
    EXPECT_EQ(texts(edited, cache.misspellings(edited, dictionary.check())), std::vector<std::string>{"svete"});
    EXPECT_EQ(dictionary.asked, std::vector<std::string>{"chyba"});
    EXPECT_EQ(cache.paragraphs_known(), 3u);

    dictionary.known.insert("svete");
    cache.clear();
    EXPECT_TRUE(cache.misspellings(edited, dictionary.check()).empty());
}

TEST(SpellCache, DictionariesSeeWordsComposedAndTheMarksCoverThemAsTyped)
{
    FakeDictionary dictionary;
    dictionary.known.insert("káva");
    SpellCache cache;
    // "káva" typed with a combining accent is the dictionary's "káva"; a
    // misspelling with one is marked over all its bytes as typed.
    const std::string post = "ka\xCC\x81va kavy\xCC\x81";
    EXPECT_EQ(texts(post, cache.misspellings(post, dictionary.check())), std::vector<std::string>{"kavy\xCC\x81"});
    EXPECT_EQ(dictionary.asked, (std::vector<std::string>{"káva", "kavý"}));
}

TEST(SpellCache, ContextFromAnEarlierParagraphDecidesALaterOne)
{
    FakeDictionary dictionary;
    SpellCache cache;
    EXPECT_EQ(texts("a\nchiba", cache.misspellings("a\nchiba", dictionary.check())), std::vector<std::string>{"chiba"});
    // The same paragraph, now inside [code], is not the cached one.
    EXPECT_TRUE(cache.misspellings("[code]\nchiba", dictionary.check()).empty());
}

// Through the cache, edit after edit, the misspellings are those of the
// post checked word by word from scratch.
TEST(SpellCache, GeneratedEditsMatchAFreshCheck)
{
    gen::Random random(7);
    FakeDictionary dictionary;
    SpellCache cache;
    for (int round = 0; round < 2000; ++round) {
        const std::string post = gen::post_with_slips(random, 1 + gen::below(random, 30));
        std::vector<Misspelling> fresh;
        for (const SpellWord& word : find_spell_words(post)) {
            const std::string_view text = std::string_view(post).substr(word.offset, word.length);
            if (!dictionary.known.contains(text) &&
                !(word.period_follows && dictionary.known.contains(std::string(text) + ".")))
                fresh.push_back({word.offset, word.length});
        }
        ASSERT_EQ(cache.misspellings(post, dictionary.check()), fresh) << post;
    }
}

TEST(SpellCache, RangesCountUtf16Units)
{
    const std::string post = "😀 ab č 😀cd";
    const std::vector<TextRange> ranges = utf16_ranges(post, {{5, 2}, {8, 2}, {15, 2}});
    EXPECT_EQ(ranges, (std::vector<TextRange>{{3, 2}, {6, 1}, {10, 2}}));
}

TEST(SpellCache, RangesFollowAnEditAndThoseItTouchesGo)
{
    std::vector<TextRange> ranges{{0, 3}, {5, 2}, {10, 4}, {20, 1}};
    const std::vector<TextRange> gone = follow_edit(ranges, 7, 3, 1); // "abc" at 7 became one character
    EXPECT_EQ(gone, (std::vector<TextRange>{{5, 2}, {10, 4}}));
    EXPECT_EQ(ranges, (std::vector<TextRange>{{0, 3}, {18, 1}}));
}

} // namespace
