// Differential fuzzer: the matches that the search finds, down, up and all
// at once, must be those a plain scan of every position finds, and a
// Replace All must build exactly the text that replacing them one by one
// builds, also in RTF with bold runs, every character in its format and
// every replacement in its match's. The input is UTF-16 (two bytes a unit, any unit, lone surrogates
// too): a first byte of options, a second with the pattern's length.
#include "text/commands/find_text.h"
#include "text/rtf/rtf_replace.h"
#include "rtf_runs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "find text: %s\n", what);
    std::abort();
}

// Every acceptable match from `begin` on, the next one after each.
std::vector<std::size_t> scanned_matches(std::u16string_view text, std::u16string_view pattern, bool whole_word,
                                         std::size_t begin, std::size_t end)
{
    std::vector<std::size_t> found;
    for (std::size_t at = begin; at + pattern.size() <= end; ++at) {
        if (text.substr(at, pattern.size()) == pattern && is_acceptable_match(text, at, pattern.size(), whole_word)) {
            found.push_back(at);
            at += pattern.size() - 1;
        }
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool whole_word = data[0] & 1;
    const bool down = data[0] & 2;
    std::u16string units;
    for (size_t i = 2; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const std::size_t pattern_length = std::min<std::size_t>(data[1] % 8 + 1, units.size());
    if (pattern_length == 0)
        return 0; // nothing is ever searched for
    const std::u16string pattern = units.substr(0, pattern_length);
    const std::u16string text = units.substr(pattern_length);
    const FindRequest request{pattern, whole_word};

    const std::vector<std::size_t> all = find_all_matches(text, request, 0, text.size());
    if (all != scanned_matches(text, pattern, whole_word, 0, text.size()))
        fail("all matches differ from the scan");

    // From a caret in the middle: the first match after it going down, the
    // last before it going up, or else round from the other end.
    const std::size_t middle = text.size() / 2;
    const auto next = find_next_match(text, request, middle, middle, down);
    // Searching one way, a match may overlap the one before.
    std::vector<std::size_t> anywhere;
    for (std::size_t at = 0; at + pattern.size() <= text.size(); ++at)
        if (text.substr(at, pattern.size()) == pattern && is_acceptable_match(text, at, pattern.size(), whole_word))
            anywhere.push_back(at);
    std::optional<std::size_t> expected;
    bool wrapped = false;
    for (const std::size_t at : anywhere) {
        if (down && at >= middle && !expected)
            expected = at;
        if (!down && at + pattern.size() <= middle)
            expected = at;
    }
    if (!expected && !anywhere.empty()) {
        expected = down ? anywhere.front() : anywhere.back();
        wrapped = true;
    }
    if (next.has_value() != expected.has_value() || (next && (next->start != *expected || next->wrapped != wrapped)))
        fail("the next match differs from the scan");

    // Replace All against one replacement after another, from the last.
    const std::u16string replacement = u"\u017E\U0001F600";
    std::u16string one_by_one = text;
    for (auto at = all.rbegin(); at != all.rend(); ++at)
        one_by_one.replace(*at, pattern.size(), replacement);
    if (!all.empty()) {
        const std::u16string built = replace_matches(text, all, pattern.size(), replacement);
        const std::size_t tail = text.size() - (all.back() + pattern.size());
        if (text.substr(0, all.front()) + built + text.substr(text.size() - tail) != one_by_one)
            fail("Replace All builds another text than replacing one by one");
    }

    // In RTF, bold where the unit's 0x40 bit is set.
    rtf_runs::FormattedText post{text, {}};
    for (const char16_t unit : text)
        post.bold.push_back((unit & 0x40) != 0);
    const auto in_rtf = replace_in_rtf(rtf_runs::write(post, down), text, {all, pattern.size(), replacement});
    const bool joins_paragraphs = !all.empty() && pattern.find_first_of(u"\r\n\v") != std::u16string::npos;
    if (in_rtf.has_value() == joins_paragraphs)
        fail(joins_paragraphs ? "Replace All in RTF joined paragraphs" : "Replace All in RTF refused");
    if (!in_rtf)
        return 0;
    const auto expected_post = rtf_runs::replaced_one_by_one(post, all, pattern.size(), replacement);
    if (rtf_runs::read(*in_rtf) != rtf_runs::with_breaks_as_read(expected_post))
        fail("Replace All in RTF reads back otherwise than replacing one by one");
    return 0;
}
