#include "text/history/edit_pieces.h"

#include <algorithm>
#include <limits>

#include "text/unicode/byte_reader.h"
#include "text/rtf/rtf_tokens.h"

namespace {

// A piece is its kind, its length, then its three byte fields, each behind
// its size; numbers are 32-bit little-endian.
constexpr std::size_t NUMBER_SIZE = 4;

void append_number(std::string& out, std::uint32_t value)
{
    for (std::size_t i = 0; i < NUMBER_SIZE; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void append_field(std::string& out, std::string_view field)
{
    append_number(out, static_cast<std::uint32_t>(field.size()));
    out.append(field);
}

// A byte field: its size, then that many bytes.
std::optional<std::string_view> read_field(ByteReader& reader)
{
    const auto size = reader.take_u32_le();
    return size ? reader.take(*size) : std::nullopt;
}

bool is_kind(char byte)
{
    return byte == static_cast<char>(PieceKind::text) || byte == static_cast<char>(PieceKind::rtf) ||
           byte == static_cast<char>(PieceKind::keep);
}

// Whether `next` can go into the same insertion as the text piece `joined`.
bool continues_text(const Piece& joined, const Piece& next)
{
    return next.kind == PieceKind::text &&
           (next.char_format.empty() || next.char_format == joined.char_format) &&
           next.para_format == joined.para_format &&
           std::int64_t{joined.length} + next.length <= std::numeric_limits<std::int32_t>::max();
}

bool is_keep(const Piece& piece)
{
    return piece.kind == PieceKind::keep;
}

std::optional<std::size_t> keep_index(std::span<const Piece> pieces)
{
    const auto keep = std::find_if(pieces.begin(), pieces.end(), is_keep);
    if (keep == pieces.end())
        return std::nullopt;
    return static_cast<std::size_t>(keep - pieces.begin());
}

std::int32_t length_of(std::span<const Piece> pieces)
{
    return static_cast<std::int32_t>(pieces_length(pieces));
}

std::vector<Piece> copy_of(std::span<const Piece> pieces)
{
    return {pieces.begin(), pieces.end()};
}

// The failure function of Knuth, Morris and Pratt: for each prefix of the
// pattern, the length of its longest proper border.
std::vector<std::size_t> borders(std::u16string_view pattern)
{
    std::vector<std::size_t> border(pattern.size(), 0);
    std::size_t length = 0;
    for (std::size_t i = 1; i < pattern.size(); ++i) {
        while (length > 0 && pattern[i] != pattern[length])
            length = border[length - 1];
        if (pattern[i] == pattern[length])
            ++length;
        border[i] = length;
    }
    return border;
}

} // namespace

std::string encode_piece(const Piece& piece)
{
    std::string out;
    out.reserve(1 + 4 * NUMBER_SIZE + piece.content.size() + piece.char_format.size() + piece.para_format.size());
    out += static_cast<char>(piece.kind);
    append_number(out, static_cast<std::uint32_t>(piece.length));
    append_field(out, piece.content);
    append_field(out, piece.char_format);
    append_field(out, piece.para_format);
    return out;
}

std::optional<Piece> decode_piece(std::string_view bytes)
{
    ByteReader reader(bytes);
    const auto kind = reader.take_byte();
    if (!kind || !is_kind(*kind))
        return std::nullopt;
    const auto length = reader.take_u32_le();
    if (!length || *length > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    const auto content = read_field(reader);
    const auto char_format = content ? read_field(reader) : std::nullopt;
    const auto para_format = char_format ? read_field(reader) : std::nullopt;
    if (!para_format || !reader.at_end())
        return std::nullopt;
    Piece piece{static_cast<PieceKind>(*kind), static_cast<std::int32_t>(*length), std::string(*content),
                std::string(*char_format), std::string(*para_format)};
    // Kept characters are in the document, not in the piece.
    if (piece.kind == PieceKind::keep && !piece.content.empty())
        return std::nullopt;
    return piece;
}

std::optional<std::vector<Piece>> decode_payload(const Payload& payload)
{
    std::vector<Piece> pieces;
    pieces.reserve(payload.size());
    for (const std::string& bytes : payload) {
        auto piece = decode_piece(bytes);
        if (!piece)
            return std::nullopt;
        pieces.push_back(std::move(*piece));
    }
    return pieces;
}

std::int64_t pieces_length(std::span<const Piece> pieces)
{
    std::int64_t length = 0;
    for (const Piece& piece : pieces)
        length += piece.length;
    return length;
}

namespace {

std::size_t breaks_in_text(std::string_view text)
{
    std::size_t breaks = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' && (at == 0 || text[at - 1] != '\r'))
            ++breaks;
        else if (text[at] == '\r')
            ++breaks;
    }
    return breaks;
}

std::size_t breaks_in_rtf(std::string_view rtf)
{
    std::size_t breaks = 0;
    for (std::size_t at = 0; at + 1 < rtf.size(); ++at) {
        if (rtf[at] != '\\')
            continue;
        if (is_rtf_letter(rtf[at + 1])) {
            const RtfControlWord word = read_rtf_control_word(rtf, at);
            breaks += word.name == "par" ? 1 : 0;
            at = word.end - 1;
        } else {
            ++at; // a control symbol: an escaped backslash among them
        }
    }
    return breaks;
}

} // namespace

std::size_t paragraph_breaks(std::span<const Piece> pieces)
{
    std::size_t breaks = 0;
    for (const Piece& piece : pieces) {
        if (piece.kind == PieceKind::text)
            breaks += breaks_in_text(piece.content);
        else if (piece.kind == PieceKind::rtf)
            breaks += breaks_in_rtf(piece.content);
    }
    return breaks;
}

std::vector<Piece> join_text_pieces(std::span<const Piece> pieces)
{
    std::vector<Piece> joined;
    for (const Piece& piece : pieces) {
        if (!joined.empty() && joined.back().kind == PieceKind::text && continues_text(joined.back(), piece)) {
            joined.back().content += piece.content;
            joined.back().length += piece.length;
        } else {
            joined.push_back(piece);
        }
    }
    return joined;
}

std::optional<std::vector<PieceEdit>> plan_restore(std::int32_t start, std::span<const Piece> present,
                                                   std::span<const Piece> wanted)
{
    // A recorded step keeps at most one stretch of characters.
    if (std::count_if(present.begin(), present.end(), is_keep) > 1 ||
        std::count_if(wanted.begin(), wanted.end(), is_keep) > 1)
        return std::nullopt;
    const auto wanted_keep = keep_index(wanted);
    const auto present_keep = keep_index(present);
    if (!wanted_keep)
        return std::vector<PieceEdit>{{start, length_of(present), copy_of(wanted), false}};
    if (!present_keep || present[*present_keep].length != wanted[*wanted_keep].length)
        return std::nullopt;

    const auto present_head = present.first(*present_keep);
    const auto present_tail = present.subspan(*present_keep + 1);
    const std::int32_t kept_start = start + length_of(present_head);
    const std::int32_t kept_length = present[*present_keep].length;
    return std::vector<PieceEdit>{
        {kept_start + kept_length, length_of(present_tail), copy_of(wanted.subspan(*wanted_keep + 1)), false},
        {kept_start, kept_length, {wanted[*wanted_keep]}, true},
        {start, length_of(present_head), copy_of(wanted.first(*wanted_keep)), false},
    };
}

std::optional<std::size_t> find_unchanged_middle(std::u16string_view before, std::u16string_view after)
{
    if (before.empty())
        return 0;
    if (before.size() > after.size())
        return std::nullopt;
    const std::vector<std::size_t> border = borders(before);
    std::size_t matched = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        while (matched > 0 && after[i] != before[matched])
            matched = border[matched - 1];
        if (after[i] == before[matched])
            ++matched;
        if (matched == before.size())
            return i + 1 - before.size();
    }
    return std::nullopt;
}
