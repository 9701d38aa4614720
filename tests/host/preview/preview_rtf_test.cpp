#include "text/preview/preview_rtf.h"
#include "text/forum/tag_match.h"
#include "post_generators.h"
#include "rtf_reader.h"

#include <gtest/gtest.h>

namespace {

// The document's body: what follows the header, without the closing brace.
std::string body(const std::string& document)
{
    constexpr std::string_view header_end = "\\pard\\f0\\fs20\n";
    const size_t start = document.find(header_end);
    EXPECT_NE(start, std::string::npos) << document;
    return document.substr(start + header_end.size(), document.size() - 1 - start - header_end.size());
}

// With the labels of the Czech interface, as the resource script gives them.
PreviewOptions labelled()
{
    PreviewOptions options;
    options.labels = {"Citace:", "%1 napsal(a):", "Kód:", "[obrázek: %1]"};
    return options;
}

std::string render_body(std::string_view post)
{
    return body(render_preview_rtf(post, labelled()));
}

std::string shown(std::string_view post, const PreviewOptions& options = labelled())
{
    return rtf::visible_text(render_preview_rtf(post, options));
}

TEST(PreviewRtf, IsACompleteDocument)
{
    EXPECT_EQ(render_preview_rtf("Ahoj"),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
              "{\\colortbl;\\red0\\green0\\blue255;\\red128\\green128\\blue128;}\n\\pard\\f0\\fs20\nAhoj}");
}

TEST(PreviewRtf, CharacterFormatsChangeJustBeforeTheirText)
{
    EXPECT_EQ(render_body("[b]Tučně[/b] a [i]kurzíva [u]obojí[/u][/i] [s]ne[/s]"),
              "\\b Tu\\u269?n\\u283?\\b0  a \\i kurz\\u237?va \\ul oboj\\u237?\\i0\\ulnone  \\strike ne");
}

TEST(PreviewRtf, ColoursSizesAndLinks)
{
    const std::string document =
        render_preview_rtf("[color=#008080]a[COLOR=red]b[/color]c[/color] [url=http://x]odkaz[/url] "
                           "[size=30px]velké [size=1]malé [size=999]obří[/size][/size][/size]");
    EXPECT_NE(document.find("{\\colortbl;\\red0\\green0\\blue255;\\red128\\green128\\blue128;"
                            "\\red0\\green128\\blue128;\\red255\\green0\\blue0;}"),
              std::string::npos);
    // Sizes are held between 6 and 40 pixels: 9 and 60 half points.
    EXPECT_EQ(body(document),
              "\\cf3 a\\cf4 b\\cf3 c\\cf0  \\ul\\cf1 odkaz\\ulnone\\cf0  \\fs45 velk\\u233? \\fs9 mal\\u233? \\fs60 ob\\u345?\\u237?");
}

TEST(PreviewRtf, QuoteAndCodeAreIndentedBlocksUnderAHeader)
{
    EXPECT_EQ(render_body("Před\n[quote=\"Petr\"]Ahoj\n\n[/quote]\nPo [code]\n[b]x[/b]\n  y\n[/code]"),
              "P\\u345?ed\\par\n"
              "\\pard\\li360 \\b Petr napsal(a):\\par\n"
              "\\b0 Ahoj\\par\n"
              "\\pard Po \\par\n"
              "\\pard\\li360 \\b K\\u243?d:\\par\n"
              "\\b0\\f1 [b]x[/b]\\par\n"
              "  y");
    EXPECT_EQ(shown("[quote][quote]a[/quote]b[/quote]"), "Citace:\nCitace:\na\nb");
}

TEST(PreviewRtf, ListsRulesAndCentring)
{
    EXPECT_EQ(shown("[list]\n[*]one\n[*]two\n[/list]"), "\u2022 one\n\u2022 two");
    EXPECT_EQ(shown("[list=1][*]a[*]b[/list][list=A][*]c[/list]"), "1. a\n2. b\nA. c");
    std::string items;
    for (int i = 0; i < 28; ++i)
        items += "[*]";
    EXPECT_EQ(shown("[list=a]" + items + "[/list]").substr(25 * 4), "z. \naa. \nab. ");
    EXPECT_EQ(render_body("a[hr]\n[center]mid[/center]"),
              "a\\par\n\\cf2 " + [] {
                  std::string rule;
                  for (int i = 0; i < 30; ++i)
                      rule += "\\u9472?";
                  return rule;
              }() + "\\par\n\\pard\\qc \\cf0 mid");
}

TEST(PreviewRtf, EscapesEverythingBeyondPlainAscii)
{
    EXPECT_EQ(render_body("a{b}c\\d\te 😀 ž\x01\x7F\xFF"), "a\\{b\\}c\\\\d\\tab e \\u-10179?\\u-8704? \\u382?\\u-3?");
    // A WTF-8 lone surrogate goes over as that one unit.
    EXPECT_EQ(render_body("\xED\xB0\x80"), "\\u-9216?");
}

TEST(PreviewRtf, BrokenMarkupIsShownAsTyped)
{
    EXPECT_EQ(shown("[b][i]x[/b][/i] [*] [/u] [foo] [b]"), "[b]x[/b] [*] [/u] [foo] [b]");
    EXPECT_EQ(shown("[code]x"), "[code]x");
}

TEST(PreviewRtf, PicturesFromTheCallerOrAPlaceholder)
{
    PreviewOptions options = labelled();
    options.pictures["http://f/smile.png"] = "{\\pict\\pngblip 00}";
    options.pictures["http://f/bad.png"] = "{\\pict}}{";
    const std::string document =
        render_preview_rtf("a[img] http://f/smile.png [/img]b[img]http://f/bad.png[/img][img]x.png[/img]", options);
    EXPECT_EQ(body(document),
              "a{\\pict\\pngblip 00}b"
              "{\\cf2\\chbrdr\\brdrs\\brdrw10 [obr\\u225?zek: http://f/bad.png]}"
              "{\\cf2\\chbrdr\\brdrs\\brdrw10 [obr\\u225?zek: x.png]}");
}

TEST(PreviewRtf, DeepNestingStaysFlat)
{
    std::string post;
    for (int i = 0; i < 1000; ++i)
        post += "[quote][b]";
    post += "x";
    for (int i = 0; i < 1000; ++i)
        post += "[/b][/quote]";
    const std::string document = render_preview_rtf(post);
    const rtf::Shape shape = rtf::shape_of(document);
    EXPECT_TRUE(shape.balanced);
    EXPECT_EQ(shape.depth, 3u);
    // Indentation stops at eight levels; what nests too deep is shown as typed.
    EXPECT_EQ(document.find("\\li3240"), std::string::npos);
    EXPECT_NE(document.find("\\li2880"), std::string::npos);
    EXPECT_NE(rtf::visible_text(document).find("[quote][b][quote]"), std::string::npos);
}

TEST(PreviewRtf, GeneratedPostsGiveSoundDocuments)
{
    gen::Random random(4242);
    for (int i = 0; i < 3000; ++i) {
        const std::string post = i % 2 ? gen::post_with_slips(random, gen::below(random, 80))
                                       : gen::random_bytes(random, gen::below(random, 200));
        const std::string document = render_preview_rtf(post);
        const rtf::Shape shape = rtf::shape_of(document);
        ASSERT_TRUE(shape.balanced && shape.ascii) << testing::PrintToString(post);
        ASSERT_EQ(shape.depth, 3u) << testing::PrintToString(post);
        ASSERT_LE(document.size(), 80 * post.size() + 200) << testing::PrintToString(post);
    }
}

TEST(PreviewRtf, PostsWithoutMarkupShowAsWritten)
{
    gen::Random random(7);
    for (int i = 0; i < 2000; ++i) {
        std::string post = gen::from_pieces(random, gen::TEXT_PIECES, gen::below(random, 60));
        if (!match_tags(post).empty())
            continue;
        // Every line break shows as one, and nothing else changes.
        std::string expected;
        for (size_t at = 0; at < post.size(); ++at) {
            const bool crlf = post[at] == '\r' && at + 1 < post.size() && post[at + 1] == '\n';
            expected += post[at] == '\r' ? '\n' : post[at];
            at += crlf;
        }
        while (!expected.empty() && expected.back() == '\n')
            expected.pop_back();
        ASSERT_EQ(shown(post), expected) << testing::PrintToString(post);
    }
}

TEST(PreviewParagraphs, EachParagraphFirstSaysTheFormatItStartsIn)
{
    const PreviewParagraphs preview =
        render_preview_paragraphs("[b]Tučně\n\n[i]dál[/i][/b]\n[quote]Citát[/quote]", labelled());
    EXPECT_EQ(preview.head, render_preview_rtf("").substr(0, preview.head.size()));
    EXPECT_EQ(preview.paragraphs, (std::vector<std::string>{
                                      "\\pard\\plain\\f0\\fs20 \\b Tu\\u269?n\\u283?",
                                      "\\pard\\plain\\f0\\fs20\\b ",
                                      "\\pard\\plain\\f0\\fs20\\b \\i d\\u225?l",
                                      "\\pard\\plain\\f0\\fs20\\b\\i \\pard\\li360 \\i0 Citace:",
                                      "\\pard\\li360\\plain\\f0\\fs20\\b \\b0 Cit\\u225?t",
                                  }));
    EXPECT_EQ(preview_paragraphs_document(preview, 1, 3),
              preview.head + preview.paragraphs[1] + "\\par\n" + preview.paragraphs[2] + "\\par\n}");
}

TEST(PreviewParagraphs, EachReadAloneLooksAsInTheWholeDocument)
{
    PreviewOptions options = labelled();
    options.pictures["p"] = "{\\pict\\dibitmap0 00}";
    gen::Random random(99);
    for (int i = 0; i < 1500; ++i) {
        const std::string post = gen::post_with_slips(random, gen::below(random, 60)) + "[img]p[/img]";
        const std::vector<std::string> whole = rtf::formatted_paragraphs(render_preview_rtf(post, options));
        const PreviewParagraphs preview = render_preview_paragraphs(post, options);
        ASSERT_EQ(preview.paragraphs.size(), whole.size()) << testing::PrintToString(post);
        const std::vector<std::string> joined =
            rtf::formatted_paragraphs(preview_paragraphs_document(preview, 0, preview.paragraphs.size()));
        for (size_t k = 0; k < whole.size(); ++k) {
            const std::string alone =
                rtf::formatted_paragraphs(preview_paragraphs_document(preview, k, k + 1)).front();
            ASSERT_EQ(alone, joined[k]) << k << " of " << testing::PrintToString(post);
            // The whole document's last paragraph has no \par behind it.
            ASSERT_EQ(joined[k].substr(0, whole[k].size()), whole[k])
                << k << " of " << testing::PrintToString(post);
            if (k + 1 < whole.size())
                ASSERT_EQ(joined[k], whole[k]) << k << " of " << testing::PrintToString(post);
        }
    }
}

} // namespace
