#include "text/history/edit_pieces.h"
#include "text_generators.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Piece text(std::string content, std::string format = "", std::string para = "")
{
    const auto length = static_cast<std::int32_t>(content.size());
    return {PieceKind::text, length, std::move(content), std::move(format), std::move(para)};
}

Piece keep(std::int32_t length, std::string format)
{
    return {PieceKind::keep, length, "", std::move(format), ""};
}

// A stand-in for the control: one byte, one character, and a format letter
// for each character.
struct Document {
    std::string text;
    std::string formats;

    void replace(std::int32_t start, std::int32_t length, const std::vector<Piece>& pieces)
    {
        std::string inserted, inserted_formats;
        std::string format;
        for (const Piece& piece : join_text_pieces(pieces)) {
            ASSERT_EQ(piece.kind, PieceKind::text);
            format = piece.char_format.empty() ? format : piece.char_format;
            inserted += piece.content;
            inserted_formats.append(piece.content.size(), format.at(0));
        }
        text.replace(start, length, inserted);
        formats.replace(start, length, inserted_formats);
    }

    void apply(const std::vector<PieceEdit>& edits)
    {
        for (const PieceEdit& edit : edits) {
            if (edit.format_only)
                formats.replace(edit.start, edit.length, std::string(edit.length, edit.pieces.at(0).char_format.at(0)));
            else
                replace(edit.start, edit.length, edit.pieces);
        }
    }
};

TEST(EditPieces, CountsTheParagraphBreaksATakingOutWouldJoin)
{
    const Piece rtf{PieceKind::rtf, 9, "{\\rtf1\\pard a\\par\r\nb\\\\par\\pard\\par\r\n}", "", ""};
    EXPECT_EQ(paragraph_breaks(std::vector<Piece>{text("a\r\nb\rc\nd\n\r")}), 5u);
    EXPECT_EQ(paragraph_breaks(std::vector<Piece>{rtf}), 2u); // "\\par" is text
    EXPECT_EQ(paragraph_breaks(std::vector<Piece>{keep(5, "x"), text("\r\n"), rtf}), 3u);
}

} // namespace

TEST(EditPieces, EveryKindReadsBackAsWritten)
{
    const std::string formats(std::string("\0\x01\xFF format", 10));
    const Piece pieces[] = {
        text("typed \xED\xA0\x80 text\r\n", formats, "para"),
        text("", ""),
        {PieceKind::rtf, 12, "{\\rtf1 x\\par y}", "", formats},
        keep(std::numeric_limits<std::int32_t>::max(), formats),
    };
    for (const Piece& piece : pieces) {
        const auto read = decode_piece(encode_piece(piece));
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, piece);
    }
}

TEST(EditPieces, RefusesAnythingButOneWholePiece)
{
    const std::string good = encode_piece(text("abc", "f", "p"));
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(decode_piece(good.substr(0, length))) << length;
    EXPECT_FALSE(decode_piece(good + "x"));

    std::string unknown_kind = good;
    unknown_kind[0] = 'X';
    EXPECT_FALSE(decode_piece(unknown_kind));

    std::string negative_length = good;
    negative_length[4] = '\x80';
    EXPECT_FALSE(decode_piece(negative_length));

    Piece keep_with_text = keep(3, "f");
    keep_with_text.content = "abc";
    EXPECT_FALSE(decode_piece(encode_piece(keep_with_text)));

    const Payload payload{encode_piece(text("a")), good.substr(1)};
    EXPECT_FALSE(decode_payload(payload));
}

TEST(EditPieces, ARunOfTextInOneFormatGoesBackInOnePiece)
{
    // A typed run: the first key carries the format, the rest take it on.
    const std::vector<Piece> typed{text("a", "B"), text("b"), text("c"), text("d", "B")};
    const auto joined = join_text_pieces(typed);
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0], text("abcd", "B"));

    // Another format, a paragraph format or RTF between them keeps pieces apart.
    const Piece rtf{PieceKind::rtf, 1, "{\\rtf1 x}", "", ""};
    const std::vector<Piece> mixed{text("a", "B"), text("b", "I"), text("c"), text("\r\n", "I", "P"), rtf, text("d")};
    const auto kept_apart = join_text_pieces(mixed);
    ASSERT_EQ(kept_apart.size(), 5u);
    EXPECT_EQ(kept_apart[1], text("bc", "I"));
    EXPECT_EQ(kept_apart[4], text("d"));
    EXPECT_EQ(pieces_length(kept_apart), pieces_length(mixed));
}

TEST(EditPieces, AWrapIsUndoneAroundTheTextItKept)
{
    // "xx [b]abc def[/b] yy" back to "xx abc def yy": the tags go, the text
    // between them stays where it is and takes its old format again.
    Document document{"xx [b]abc def[/b] yy", "PPPBBBBBBBBBBBBBBPPP"};
    const std::vector<Piece> present{text("[b]", "B"), keep(7, "B"), text("[/b]", "B")};
    const std::vector<Piece> wanted{keep(7, "P")};

    const auto edits = plan_restore(3, present, wanted);
    ASSERT_TRUE(edits);
    document.apply(*edits);
    EXPECT_EQ(document.text, "xx abc def yy");
    EXPECT_EQ(document.formats, std::string(13, 'P'));
    ASSERT_EQ(edits->size(), 3u);
    EXPECT_TRUE((*edits)[1].format_only);
    EXPECT_EQ((*edits)[1].start, 6) << "formatted before the tag in front of it goes";

    // And done again.
    document.apply(*plan_restore(3, wanted, present));
    EXPECT_EQ(document.text, "xx [b]abc def[/b] yy");
    EXPECT_EQ(document.formats, "PPPBBBBBBBBBBBBBBPPP");
}

TEST(EditPieces, WithoutAKeptPartTheWholeRangeIsReplaced)
{
    Document document{"one two", "PPPPPPP"};
    document.apply(*plan_restore(4, std::vector<Piece>{text("two", "P")}, std::vector<Piece>{text("2\r\n", "B")}));
    EXPECT_EQ(document.text, "one 2\r\n");
    EXPECT_EQ(document.formats, "PPPPBBB");

    // A kept part that the range does not have, of another length, or twice.
    const std::vector<Piece> kept{keep(3, "B")};
    EXPECT_FALSE(plan_restore(0, std::vector<Piece>{text("abc")}, kept));
    EXPECT_FALSE(plan_restore(0, std::vector<Piece>{keep(4, "P")}, kept));
    EXPECT_FALSE(plan_restore(0, std::vector<Piece>{keep(3, "P"), keep(3, "P")}, kept));
}

TEST(EditPieces, FindsTheUnchangedMiddleWhereverItStands)
{
    EXPECT_EQ(find_unchanged_middle(u"abc", u"[b]abc[/b]"), 3u);
    EXPECT_EQ(find_unchanged_middle(u"abc", u"abc"), 0u);
    EXPECT_EQ(find_unchanged_middle(u"", u"[hr]"), 0u);
    EXPECT_FALSE(find_unchanged_middle(u"abc", u"[b]ab[/b]"));
    EXPECT_FALSE(find_unchanged_middle(u"abcd", u"abc"));

    // Partial matches that overlap the real one, against the plain search.
    gen::Random random(11);
    for (int round = 0; round < 2000; ++round) {
        std::u16string before, after;
        for (std::size_t i = 1 + gen::below(random, 6); i > 0; --i)
            before += static_cast<char16_t>(u'a' + gen::below(random, 2));
        for (std::size_t i = gen::below(random, 30); i > 0; --i)
            after += static_cast<char16_t>(u'a' + gen::below(random, 2));
        const std::size_t found = after.find(before);
        const auto expected = found == std::u16string::npos ? std::nullopt : std::optional<std::size_t>(found);
        EXPECT_EQ(find_unchanged_middle(before, after), expected);
    }
}
