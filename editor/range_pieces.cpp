#include "editor/range_pieces.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "editor/editor_text.h"
#include "text/rtf/rtf_round_trip.h"
#include "text/unicode/unicode_text.h"

namespace {

template <typename Format>
std::optional<Format> format_from_bytes(std::string_view bytes)
{
    if (bytes.size() != sizeof(Format))
        return std::nullopt;
    Format format;
    std::memcpy(&format, bytes.data(), sizeof format);
    return format;
}

bool holds_paragraph_break(std::u16string_view text)
{
    return text.find_first_of(u"\r\n\v") != std::u16string_view::npos;
}

// An embedded object shows as U+FFFC in the text; only RTF carries it.
bool holds_object(std::u16string_view text)
{
    return text.find(u'\uFFFC') != std::u16string_view::npos;
}

CHARFORMAT2W first_character_format(HWND editor, const CHARRANGE& range)
{
    set_selection(editor, range.cpMin, range.cpMin + 1);
    const CHARFORMAT2W format = get_selection_format_w(editor);
    set_selection(editor, range.cpMin, range.cpMax);
    return format;
}

void apply_piece_char_format(HWND editor, const Piece& piece)
{
    if (const auto chars = format_from_bytes<CHARFORMAT2W>(piece.char_format))
        set_selection_format_w_in_slices(editor, *chars);
}

// Only where the paragraphs differ: setting a format lays out every
// paragraph of the range again.
void apply_piece_para_format(HWND editor, const Piece& piece)
{
    const auto paragraphs = format_from_bytes<PARAFORMAT2>(piece.para_format);
    if (paragraphs && format_bytes(get_paragraph_format(editor)) != piece.para_format)
        set_paragraph_format(editor, *paragraphs);
}

bool selection_has_format(HWND editor, const std::string& format)
{
    return format_bytes(get_selection_format_w(editor)) == format;
}

// RTF as the reader makes it back into paragraphs of the piece's format.
std::string rtf_to_read(const Piece& piece)
{
    const auto paragraphs = format_from_bytes<PARAFORMAT2>(piece.para_format);
    const bool single_spaced =
        paragraphs && (paragraphs->dwMask & PFM_LINESPACING) && paragraphs->bLineSpacingRule == 0;
    return single_spaced ? without_single_line_spacing(piece.content) : piece.content;
}

void put_in(HWND editor, const Piece& piece, const ProgressReport& progress)
{
    if (piece.kind == PieceKind::rtf)
        stream_in(editor, rtf_to_read(piece), SF_RTF | SFF_SELECTION, progress);
    else
        replace_selection_in_slices(editor, utf8_to_utf16(piece.content), progress);
}

// Replaced text goes in in the format of the first character it replaces,
// and text put in at the caret in the caret's; so does RTF, which takes
// that format for granted where it says nothing. Where that is the piece's
// format, one replacement is all; elsewhere the caret gets it first, which
// spares formatting all the text afterwards.
void replace_with_piece(HWND editor, LONG at, LONG replaced, const Piece& piece, const ProgressReport& progress)
{
    if (replaced > 0) {
        set_selection(editor, at, at + 1);
        const bool in_format = selection_has_format(editor, piece.char_format);
        set_selection(editor, at, at + replaced);
        if (in_format) {
            put_in(editor, piece, progress);
            return;
        }
    }
    replace_selection_utf16(editor, u"");
    apply_piece_char_format(editor, piece);
    put_in(editor, piece, progress);
}

// The format of the paragraph that the character at `at` belongs to.
std::string paragraph_format_at(HWND editor, LONG at)
{
    set_selection(editor, at, at);
    return format_bytes(get_paragraph_format(editor));
}

bool holds_rtf_piece(const std::vector<Piece>& pieces)
{
    return std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.kind == PieceKind::rtf; });
}

// Puts the pieces one after another in place of the `replaced` characters
// at `at`, which are selected.
void replace_with_pieces(HWND editor, LONG at, LONG replaced, const std::vector<Piece>& pieces,
                         const ProgressReport& progress)
{
    const std::int64_t whole = pieces_length(pieces);
    std::int64_t done = 0;
    // The RTF reader gives the paragraph that its last break starts a format
    // of its own; that paragraph is the one the text after the range was
    // in, and keeps its format.
    std::string following_paragraph;
    if (holds_rtf_piece(pieces)) {
        following_paragraph = paragraph_format_at(editor, at + replaced);
        set_selection(editor, at, at + replaced);
    }
    if (pieces.empty())
        replace_selection_utf16(editor, u"");
    for (const Piece& piece : pieces) {
        replace_with_piece(editor, at, replaced, piece, progress_part(progress, done, piece.length, whole));
        done += piece.length;
        replaced = 0;
        set_selection(editor, at, at + piece.length);
        // Text whose format the control did not give it as expected gets it now.
        const bool text_with_format = piece.kind == PieceKind::text && !piece.char_format.empty();
        if (text_with_format && !selection_has_format(editor, piece.char_format))
            apply_piece_char_format(editor, piece);
        apply_piece_para_format(editor, piece);
        at += piece.length;
        set_selection(editor, at, at);
    }
    if (!following_paragraph.empty() && paragraph_format_at(editor, at) != following_paragraph)
        apply_piece_para_format(editor, {PieceKind::keep, 0, "", "", following_paragraph});
}

} // namespace

Piece capture_selection(HWND editor, const UniformMasks& masks, std::u16string* text)
{
    const CHARRANGE range = get_selection(editor);
    const std::u16string content = get_selected_utf16(editor);
    const CHARFORMAT2W chars = get_selection_format_w(editor);
    const bool breaks = holds_paragraph_break(content);
    const bool one_char_format = is_uniform(chars.dwMask, masks.chars) && !holds_object(content);
    // Paragraph formats matter only where the range holds paragraphs, or
    // where the RTF reader makes them anew.
    std::optional<PARAFORMAT2> paragraphs;
    if (breaks || !one_char_format) {
        const PARAFORMAT2 format = get_paragraph_format(editor);
        if (is_uniform(format.dwMask, masks.paragraphs))
            paragraphs = format;
    }

    const bool as_text = one_char_format && (!breaks || paragraphs);
    const auto rtf = as_text ? std::nullopt : get_rtf(editor, true);
    Piece piece;
    piece.length = range.cpMax - range.cpMin;
    piece.kind = rtf ? PieceKind::rtf : PieceKind::text;
    piece.content = rtf ? *rtf : utf16_to_utf8(content);
    // The RTF leaves out what its first character shares with a default
    // format; the reader takes that from the caret instead. Should the
    // control fail to write RTF, the text at least goes back whole, in the
    // first character's format.
    piece.char_format = format_bytes(as_text ? chars : first_character_format(editor, range));
    // Text takes on the paragraph it goes into, which is one of its own
    // paragraphs' format again; the RTF reader makes paragraphs of its own.
    if (rtf && paragraphs)
        piece.para_format = format_bytes(*paragraphs);
    if (text)
        *text = content;
    return piece;
}

Piece capture_range(HWND editor, const UniformMasks& masks, LONG first, LONG last)
{
    set_selection(editor, first, last);
    return capture_selection(editor, masks);
}

Piece kept_piece(LONG length, std::string char_format)
{
    return {PieceKind::keep, length, "", std::move(char_format), ""};
}

void replace_range_with_pieces(HWND editor, LONG at, LONG replaced, const std::vector<Piece>& pieces,
                               const ProgressReport& progress)
{
    set_selection(editor, at, at + replaced);
    replace_with_pieces(editor, at, replaced, join_text_pieces(pieces), progress);
}

bool replace_range_contents(HWND editor, std::int32_t start, const Payload& present, const Payload& wanted,
                            const ProgressReport& progress)
{
    const auto present_pieces = decode_payload(present);
    const auto wanted_pieces = decode_payload(wanted);
    if (!present_pieces || !wanted_pieces)
        return false;
    const auto edits = plan_restore(start, *present_pieces, *wanted_pieces);
    if (!edits)
        return false;
    RedrawPause pause(editor);
    for (const PieceEdit& edit : *edits) {
        if (edit.length == 0 && edit.pieces.empty())
            continue;
        set_selection(editor, edit.start, edit.start + edit.length);
        if (edit.format_only)
            apply_piece_char_format(editor, edit.pieces.front());
        else
            replace_with_pieces(editor, edit.start, edit.length, join_text_pieces(edit.pieces), progress);
    }
    return true;
}
