// The words that spell checking looks at, on any bytes: each lies inside
// the post, in order, without white space or brackets, within the longest
// word checked; and the cache, carried from one input to the next, finds
// exactly what a word-by-word check of the post from scratch finds.
#include "text/spelling/spell_cache.h"
#include "text/spelling/spell_words.h"
#include "text/unicode/unicode_normalization.h"
#include "text/unicode/unicode_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A made-up dictionary: a word is correct when its bytes add up even.
bool made_up_check(std::string_view word)
{
    unsigned sum = 0;
    for (const char c : word)
        sum += static_cast<unsigned char>(c);
    return sum % 2 == 0;
}

void fail(const char* what, size_t size)
{
    std::fprintf(stderr, "%s for %zu bytes of input\n", what, size);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SpellCache cache; // kept, so that one input is an edit of the last
    const std::string post(reinterpret_cast<const char*>(data), size);
    const std::vector<SpellWord> words = find_spell_words(post);
    std::vector<Misspelling> fresh;
    size_t previous_end = 0;
    for (const SpellWord& word : words) {
        if (word.length == 0 || word.offset < previous_end || word.offset + word.length > size)
            fail("a word out of place", size);
        const std::string_view text = std::string_view(post).substr(word.offset, word.length);
        if (text.find_first_of(" \t\r\n[]") != std::string_view::npos ||
            count_code_points(text) > LONGEST_CHECKED_WORD)
            fail("a word that is no word", size);
        if (word.period_follows != (word.offset + word.length < size && post[word.offset + word.length] == '.'))
            fail("a period that is not there", size);
        previous_end = word.offset + word.length;
        // Dictionaries see words in normalisation form C.
        if (!made_up_check(to_nfc(text)) &&
            !(word.period_follows && made_up_check(to_nfc(post.substr(word.offset, word.length + 1)))))
            fresh.push_back({word.offset, word.length});
    }
    if (cache.misspellings(post, made_up_check) != fresh)
        fail("the cache differs from a fresh check", size);
    return 0;
}
