#include "text/spelling/spell_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "post_generators.h"

namespace {

// The words found, as text, each with "." when a period follows it.
std::vector<std::string> words_of(std::string_view post)
{
    std::vector<std::string> found;
    for (const SpellWord& word : find_spell_words(post))
        found.push_back(std::string(post.substr(word.offset, word.length)) + (word.period_follows ? "." : ""));
    return found;
}

TEST(SpellWords, GoldenPostKeepsOnlyTheWordsOfItsText)
{
    const std::string post = "[quote=Petr]Ahoj „světe“, [b]tučně[/b]![/quote]\r\n"
                             "Viz [url=http://a.cz/x]tenhle odkaz[/url] a [url]www.seznam.cz[/url], "
                             "https://example.org/a?b=c, pavel@example.cz, seznam.cz/stranka.\n"
                             "[code]int neslovo = 0;\nfoo(bar);[/code] [img]http://x/y.png[/img] [email]x@y.cz[/email]\n"
                             "Smajlíky :D :-P ;) :lol: xD, čísla 3D a 2x, česko-slovenský rock'n'roll (atd.) -- konec.";
    EXPECT_EQ(words_of(post),
              (std::vector<std::string>{"Ahoj", "světe", "tučně", "Viz", "tenhle", "odkaz", "a", "Smajlíky", "čísla",
                                        "a", "česko-slovenský", "rock'n'roll", "atd.", "konec."}));
}

TEST(SpellWords, LeavesOutLongWordsAndCharactersBeyondTheBasicPlane)
{
    const std::string long_word(LONGEST_CHECKED_WORD + 1, 'a');
    EXPECT_EQ(words_of(long_word + " ok " + std::string(LONGEST_CHECKED_WORD, 'b') + " 𝐀bc a😀b"),
              (std::vector<std::string>{"ok", std::string(LONGEST_CHECKED_WORD, 'b'), "a", "b"}));
}

TEST(SpellWords, MarksAndJoinersBelongToTheLetterBeforeThem)
{
    struct Row {
        std::string post;
        std::vector<std::string> words;
    } rows[] = {
        {"❤️ ✌️ ☺️", {}},                                   // U+FE0F after a pictograph is no word
        {"\xEF\xB8\x8F \xE2\x80\x8D", {}},                  // nor a lone variation selector or joiner
        {"ka\xCC\x81va", {"ka\xCC\x81va"}},                 // a + U+0301 stays in the word as typed
        {"\xCC\x81slovo", {"slovo"}},                        // a mark cannot start a word
        {"क्\xE2\x80\x8Dष", {"क्\xE2\x80\x8Dष"}},               // a joiner inside a word
    };
    for (const Row& row : rows)
        EXPECT_EQ(words_of(row.post), row.words) << row.post;
}

TEST(SpellWords, UnclosedCodeHidesTheRestOfThePost)
{
    EXPECT_EQ(words_of("jedna [code]dva\ntři"), std::vector<std::string>{"jedna"});
}

// Generated posts: every word is a run of the post's own letters outside
// the hidden tags, and reading paragraph by paragraph with the context
// carried over finds what the reader of the whole post finds.
TEST(SpellWords, GeneratedPostsGiveWordsInOrderOutsideHiddenTags)
{
    gen::Random random(19);
    for (int round = 0; round < 3000; ++round) {
        const std::string post = gen::post_with_slips(random, 1 + gen::below(random, 40));
        const std::vector<SpellWord> words = find_spell_words(post);
        std::size_t previous_end = 0;
        for (const SpellWord& word : words) {
            ASSERT_GE(word.offset, previous_end) << post;
            ASSERT_LE(word.offset + word.length, post.size()) << post;
            const std::string_view text = std::string_view(post).substr(word.offset, word.length);
            ASSERT_EQ(text.find_first_of(" \t\r\n[]"), std::string_view::npos) << post;
            previous_end = word.offset + word.length;
        }
        // The generator's letters stand in "Ahoj", "světe", "x" and "[foo]".
        for (const SpellWord& word : words)
            for (const char c : std::string_view(post).substr(word.offset, word.length))
                ASSERT_NE(std::string_view("Ahojsvtěexf").find(c), std::string_view::npos) << post;
    }
}

} // namespace
