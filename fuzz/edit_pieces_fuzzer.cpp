// decode_piece must take any bytes, and any piece it accepts must be exactly
// what encode_piece makes of it; pieces read from the input must plan a
// restore without fault; find_unchanged_middle must agree with the plain
// search.
#include "text/history/edit_pieces.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void fail(const char* what, size_t size)
{
    std::fprintf(stderr, "%s, for %zu bytes of input\n", what, size);
    std::abort();
}

void check_decode(std::string_view bytes)
{
    const auto piece = decode_piece(bytes);
    if (piece && encode_piece(*piece) != bytes)
        fail("an accepted piece is not encoded back the same", bytes.size());
}

// Pieces made from the input's bytes: each byte a kind and a length.
std::vector<Piece> pieces_of(std::string_view bytes)
{
    std::vector<Piece> pieces;
    for (unsigned char byte : bytes) {
        const PieceKind kind = byte % 3 == 0 ? PieceKind::keep : byte % 3 == 1 ? PieceKind::text : PieceKind::rtf;
        pieces.push_back({kind, static_cast<std::int32_t>(byte / 3), "", std::string(1, static_cast<char>(byte & 1)), ""});
    }
    return pieces;
}

void check_plan(std::string_view bytes)
{
    const std::size_t half = bytes.size() / 2;
    const auto present = pieces_of(bytes.substr(0, half));
    const auto wanted = pieces_of(bytes.substr(half));
    const auto edits = plan_restore(0, present, wanted);
    if (!edits)
        return;
    std::int64_t replaced = 0;
    for (const PieceEdit& edit : *edits)
        replaced += edit.length;
    if (replaced != pieces_length(present))
        fail("the planned edits do not cover exactly the present range", bytes.size());
    const auto joined = join_text_pieces(wanted);
    if (pieces_length(joined) != pieces_length(wanted))
        fail("joining text pieces changed their length", bytes.size());
}

void check_search(std::string_view bytes)
{
    // Two letters, so that partial matches are common.
    std::u16string before, after;
    const std::size_t split = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 8;
    for (std::size_t i = 1; i < bytes.size(); ++i)
        (i <= split ? before : after) += static_cast<char16_t>(u'a' + (bytes[i] & 1));
    const std::size_t found = std::u16string_view(after).find(before);
    const auto middle = find_unchanged_middle(before, after);
    if ((found == std::u16string_view::npos) != !middle || (middle && *middle != found))
        fail("find_unchanged_middle disagrees with the plain search", bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check_decode(bytes);
    check_plan(bytes);
    check_search(bytes);
    return 0;
}
