// read_draft must take any bytes, and any draft it accepts must be exactly
// what write_draft makes of it; a draft made from the input must read back
// whole; and draft_first_words must keep to its limit, cut only between
// words (or inside an overlong first word) and never inside a character.
#include "document/draft_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void fail(const char* what, size_t size)
{
    std::fprintf(stderr, "%s, for %zu bytes of input\n", what, size);
    std::abort();
}

// The input with a checksum line that fits it, so that the fuzzer gets past
// the checksum to the fields.
std::string sealed(std::string_view content)
{
    char line[32];
    std::snprintf(line, sizeof line, "crc32 %08x\n", static_cast<unsigned>(draft_checksum(content)));
    return std::string(content) + line;
}

void check_read(std::string_view bytes)
{
    for (const std::string& candidate : {std::string(bytes), sealed(bytes)}) {
        std::string why;
        const auto draft = read_draft(candidate, &why);
        if (draft ? write_draft(*draft) != candidate : why.empty())
            fail(draft ? "an accepted draft is not written back the same" : "refused without a reason", bytes.size());
    }
}

void check_round_trip(std::string_view bytes)
{
    Draft draft;
    draft.process_id = static_cast<std::uint32_t>(bytes.size() * 2654435761u);
    draft.written_at = std::uint64_t{draft.process_id} << 31;
    draft.kind = bytes.size() % 2 ? DraftKind::text : DraftKind::rtf;
    const std::size_t third = bytes.size() / 3;
    draft.encoding = bytes.substr(0, third);
    draft.file_name = bytes.substr(third, third);
    draft.body = bytes.substr(2 * third);
    const auto read = read_draft(write_draft(draft));
    if (!read || *read != draft)
        fail("a written draft does not read back", bytes.size());
}

bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

std::size_t announced_size(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
}

std::size_t count_characters(std::string_view text)
{
    std::size_t chars = 0;
    for (std::size_t at = 0; at < text.size(); ++chars) {
        const std::size_t want = announced_size(static_cast<unsigned char>(text[at]));
        std::size_t size = 1;
        while (size < want && at + size < text.size() && is_continuation(static_cast<unsigned char>(text[at + size])))
            ++size;
        at += size;
    }
    return chars;
}

// Whether a cut at `cut` falls inside a lead byte's sequence.
bool splits_a_character(std::string_view text, std::size_t cut)
{
    if (cut == 0 || cut >= text.size() || !is_continuation(static_cast<unsigned char>(text[cut])))
        return false;
    std::size_t lead = cut;
    while (lead > 0 && cut - lead < 4 && is_continuation(static_cast<unsigned char>(text[lead - 1])))
        --lead;
    return lead > 0 && cut - (lead - 1) < announced_size(static_cast<unsigned char>(text[lead - 1]));
}

void check_first_words(std::string_view bytes)
{
    if (bytes.empty())
        return;
    const std::size_t max_chars = static_cast<unsigned char>(bytes[0]) % 40;
    const std::string_view text = bytes.substr(1);
    std::string words; // the text with its blanks folded to single spaces
    for (unsigned char c : text) {
        if (c > ' ')
            words += static_cast<char>(c);
        else if (!words.empty() && words.back() != ' ')
            words += ' ';
    }
    if (!words.empty() && words.back() == ' ')
        words.pop_back();

    const std::string result = draft_first_words(text, max_chars);
    if (count_characters(result) > max_chars)
        fail("first words longer than the limit", bytes.size());
    if (result == words)
        return;
    if (max_chars < 4) {
        if (result != std::string("...").substr(0, max_chars))
            fail("a tiny limit gives more than dots", bytes.size());
        return;
    }
    const std::string_view kept = std::string_view(result).substr(0, result.size() - 3);
    if (result.size() < 4 || result.substr(kept.size()) != "..." || words.compare(0, kept.size(), kept) != 0 ||
        kept.empty() || kept.back() == ' ')
        fail("first words are not the text's beginning and an ellipsis", bytes.size());
    if (splits_a_character(words, kept.size()))
        fail("first words split a character", bytes.size());
    if (kept.find(' ') != std::string_view::npos && words[kept.size()] != ' ')
        fail("first words cut a word that is not the first", bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check_read(bytes);
    check_round_trip(bytes);
    check_first_words(bytes);
    return 0;
}
