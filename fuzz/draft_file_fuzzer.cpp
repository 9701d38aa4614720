// read_draft must take any bytes, and any draft it accepts must be exactly
// what write_draft makes of it; a draft made from the input must read back
// whole; draft_first_words must take any bytes too.
#include "text/files/draft_file.h"

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
        DraftFault why;
        const auto draft = read_draft(candidate, &why);
        if (draft ? write_draft(*draft) != candidate : why.kind == DraftFaultKind::none)
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

void check_first_words(std::string_view bytes)
{
    const std::size_t max_chars = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 40;
    if (draft_first_words(bytes, max_chars).size() > 4 * max_chars)
        fail("first words longer than the limit", bytes.size());
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
