// What an undo step stores of a range of the Editor control, and how a
// stored range is put back. Each string of an EditStep's payload is one
// encoded Piece. Pure logic: no Windows headers; the character and
// paragraph formats are the control's own structures, carried as bytes.
//
// A piece is one of:
//  - text: characters that all have one character format, in paragraphs
//    (where they hold a paragraph break) that all have one format, which
//    the text takes on again from the paragraph it goes back into. Putting
//    plain text back in its format is many times faster in the control than
//    streaming RTF in, and exact where the control's RTF reader is not.
//  - rtf: the control's RTF of a range whose formats vary.
//  - keep: characters that both sides of a step share and that stay where
//    they are, only taking another format: the text a markup command wraps.
//    Undoing the command takes the tags away and gives the text back its old
//    format, without ever copying the text, so it costs no more than the
//    command did.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/history/edit_history.h"

enum class PieceKind : char { text = 'T', rtf = 'R', keep = 'K' };

struct Piece {
    PieceKind kind = PieceKind::text;
    // The characters the piece takes in the control, as the control counts
    // positions (a paragraph break takes two).
    std::int32_t length = 0;
    std::string content;     // text: WTF-8; rtf: the RTF; keep: nothing
    // text and keep: their one format; empty text: as the text before it.
    // rtf: the first character's, which the RTF leaves partly unsaid.
    std::string char_format;
    // rtf: its paragraphs' one format, which the reader does not make
    // exactly; empty where they have several, or for text.
    std::string para_format;
    bool operator==(const Piece&) const = default;
};

std::string encode_piece(const Piece& piece);

// The piece in `bytes`, or nullopt when they are not exactly one encoded
// piece. Any input, in linear time.
std::optional<Piece> decode_piece(std::string_view bytes);

// Every piece of a payload, or nullopt when one of them is damaged.
std::optional<std::vector<Piece>> decode_payload(const Payload& payload);

// The positions the pieces take together.
std::int64_t pieces_length(std::span<const Piece> pieces);

// The paragraph breaks that taking the pieces out of the control would
// join: those of their text ("\r\n", or a lone "\r" or "\n", each one) and
// of their RTF (\par); kept characters stay. Wine's control takes time in
// the square of them.
std::size_t paragraph_breaks(std::span<const Piece> pieces);

// Runs of text pieces in one format become one piece, so that a typed run
// or a run of Backspace goes back in one insertion instead of one for each
// key. A text piece without a format takes that of the text piece before it.
std::vector<Piece> join_text_pieces(std::span<const Piece> pieces);

// One change that puts (part of) a payload in place: `length` characters at
// `start` are replaced by `pieces`, or, for a kept part, stay and take the
// format of the one keep piece.
struct PieceEdit {
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::vector<Piece> pieces;
    bool format_only = false;
};

// The changes that turn the range at `start`, which holds `present`, into
// `wanted`, in the order to carry them out: from the end backwards, so that
// each one leaves the positions of the next alone. Where both sides have a
// keep piece of the same length, the text around it is replaced and the
// kept characters only take the wanted format; otherwise the whole range is
// replaced. Nullopt when `wanted` keeps characters that `present` does not
// have, or either side keeps two stretches: no recorded step asks for that.
std::optional<std::vector<PieceEdit>> plan_restore(std::int32_t start, std::span<const Piece> present,
                                                   std::span<const Piece> wanted);

// Where the text of a range before a command stands whole in the range
// after it, as a command that wraps the selection leaves it: the offset of
// the first occurrence of `before` in `after`, in UTF-16 units. Linear time.
std::optional<std::size_t> find_unchanged_middle(std::u16string_view before, std::u16string_view after);
