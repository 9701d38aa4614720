// Pasted HTML as markup: fragments as browsers, LibreOffice and Word put
// them on the clipboard, each with the markup it must give.
#include "text/paste/cf_html.h"
#include "text/paste/html_markup.h"
#include "text/forum/smileys.h"
#include "text/forum/tag_check.h"
#include "text/unicode/unicode_text.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* name;
    std::string html;
    std::string markup;
};

std::string converted(const std::string& html, const PasteOptions& options = {})
{
    const HtmlConversion conversion = html_to_markup(html, "https://www.example.org/clanky/dnes.html", options);
    EXPECT_EQ(conversion.refusal, PasteRefusal::none);
    return conversion.markup.text;
}

void expect_rows(const std::vector<Row>& rows, const PasteOptions& options = {})
{
    for (const Row& row : rows) {
        const std::string markup = converted(row.html, options);
        EXPECT_EQ(markup, row.markup) << row.name;
        EXPECT_EQ(check_tags(markup).kind, TagProblemKind::none) << row.name;
    }
}

// Written by `soffice --headless --convert-to html` from an RTF and a flat
// ODT document: the body, as LibreOffice also puts it on the clipboard.
const std::string LIBREOFFICE_RUNS =
    "<p style=\"line-height: 100%; margin-bottom: 0in\">\n"
    "<font face=\"Liberation Serif, serif\">Ahoj </font><font face=\"Liberation Serif, serif\"><b>tučný\n"
    "text</b></font><font face=\"Liberation Serif, serif\"> a </font><font face=\"Liberation Serif, "
    "serif\"><i>kurzíva</i></font><font face=\"Liberation Serif, serif\">\n"
    "</font><font color=\"#ff0000\"><font face=\"Liberation Serif, serif\">red</font></font><font "
    "face=\"Liberation Serif, serif\">\n"
    "a </font><font face=\"Liberation Serif, serif\"><u>podtržené</u></font><font face=\"Liberation Serif, "
    "serif\">\n"
    "a </font><strike><font face=\"Liberation Serif, serif\">škrtnuté</font></strike><font face=\"Liberation "
    "Serif, serif\">.</font></p>\n"
    "<p style=\"line-height: 100%; margin-bottom: 0in\"><font face=\"Liberation Serif, serif\"><font size=\"5\" "
    "style=\"font-size: 20pt\">Velký\ntext</font></font><font face=\"Liberation Serif, serif\"> a "
    "normální.</font></p>\n"
    "<p align=\"center\" style=\"line-height: 100%; margin-bottom: 0in\"><font face=\"Liberation Serif, "
    "serif\">Na\nstřed.</font></p>\n"
    "<p style=\"line-height: 100%; margin-bottom: 0in\"><font face=\"Liberation Serif, serif\">Druhý\n"
    "odstavec s odkazem <a href=\"https://www.example.org/clanek\">https://www.example.org/clanek</a>\n"
    "a <a href=\"https://www.example.org/\">stránka</a>.</font></p>\n";

const std::string LIBREOFFICE_BLOCKS =
    "<h1 class=\"western\">\nNadpis</h1>\n<ul>\n"
    "\t<li><p style=\"line-height: 100%; margin-bottom: 0in\">první</p>\n"
    "\t<li><p style=\"line-height: 100%; margin-bottom: 0in\">druhá</p>\n"
    "\t<ul>\n\t\t<li><p style=\"line-height: 100%; margin-bottom: 0in\">vnořená</p>\n\t</ul>\n</ul>\n"
    "<table width=\"100%\" cellpadding=\"0\" cellspacing=\"0\">\n\t<col width=\"128*\"/>\n\n"
    "\t<col width=\"128*\"/>\n\n\t<tr valign=\"top\">\n"
    "\t\t<td width=\"50%\" style=\"border: none; padding: 0in\"><p>A1</p>\n\t\t</td>\n"
    "\t\t<td width=\"50%\" style=\"border: none; padding: 0in\"><p><b>B1</b></p>\n\t\t</td>\n\t</tr>\n"
    "\t<tr valign=\"top\">\n"
    "\t\t<td width=\"50%\" style=\"border: none; padding: 0in\"><p>A2</p>\n\t\t</td>\n"
    "\t\t<td width=\"50%\" style=\"border: none; padding: 0in\"><p>B2</p>\n\t\t</td>\n\t</tr>\n</table>\n"
    "<p style=\"line-height: 100%; margin-bottom: 0in\">Konec.</p>\n";

// As Word writes a paragraph with a bullet it draws itself, and its runs.
const std::string WORD_PARAGRAPHS =
    "<p class=MsoNormal><b><span lang=CS style='font-size:12.0pt;color:black'>Tučně</span></b>"
    "<span lang=CS style='font-size:12.0pt'> a <i>kurzívou</i><o:p></o:p></span></p>\n"
    "<p class=MsoListParagraphCxSpFirst style='text-indent:-18.0pt;mso-list:l0 level1 lfo1'>"
    "<![if !supportLists]><span style='font-family:Symbol'><span style='mso-list:Ignore'>·"
    "<span style='font:7.0pt \"Times New Roman\"'>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </span></span></span>"
    "<![endif]><span lang=CS>Bod<o:p></o:p></span></p>\n"
    "<p class=MsoNormal><span lang=CS><o:p>&nbsp;</o:p></span></p>\n"
    "<p class=MsoNormal><u><span lang=CS>Konec</span></u><span lang=CS>.<o:p></o:p></span></p>";

} // namespace

TEST(HtmlMarkup, FragmentsAsLibreOfficeAndWordWriteThem)
{
    expect_rows({
        {"LibreOffice: runs, a large size, centring, links",
         LIBREOFFICE_RUNS,
         "Ahoj [b]tučný text[/b] a [i]kurzíva[/i] red a [u]podtržené[/u] a [s]škrtnuté[/s].\n"
         "Velký text a normální.\n"
         "[center]Na střed.[/center]\n"
         "Druhý odstavec s odkazem [url]https://www.example.org/clanek[/url] a "
         "[url=https://www.example.org/]stránka[/url]."},
        {"LibreOffice: a heading, nested lists, a table",
         LIBREOFFICE_BLOCKS,
         "[b]Nadpis[/b]\n[list]\n[*]první\n[*]druhá\n[list]\n[*]vnořená\n[/list]\n[/list]\n"
         "A1 | [b]B1[/b]\nA2 | B2\nKonec."},
        {"Word: runs in spans, its own bullet, an empty paragraph",
         WORD_PARAGRAPHS,
         "[b]Tučně[/b] a [i]kurzívou[/i]\n· Bod\n\n[u]Konec[/u]."},
    });
}

TEST(HtmlMarkup, FragmentsAsBrowsersWriteThem)
{
    expect_rows({
        {"Chrome: inline styles of a copied selection",
         "<span style=\"color: rgb(32, 33, 36); font-family: arial; font-size: 14px;\">Hledat </span>"
         "<b style=\"color: rgb(32, 33, 36);\">tučně</b><span style=\"color: rgb(32, 33, 36);\"> a dál</span>",
         "Hledat [b]tučně[/b] a dál"},
        {"Google Docs: a bold wrapper that is not bold",
         "<meta charset=\"utf-8\"><b style=\"font-weight:normal;\" id=\"docs-internal-guid-1\">"
         "<p dir=\"ltr\"><span style=\"font-weight:700;\">Silně</span><span style=\"font-weight:400;\"> "
         "slabě </span><span style=\"font-style:italic;\">šikmo</span></p></b>",
         "[b]Silně[/b] slabě [i]šikmo[/i]"},
        {"Firefox: an article with a quote, code and a picture",
         "<h2>Titulek</h2><p>Text s <a href=\"/o-nas\">odkazem</a> a <code>kódem</code>.</p>"
         "<blockquote><p>Citát</p><p>ve dvou odstavcích</p></blockquote>"
         "<pre><code>int main()\n{\n    return 0;\n}\n</code></pre>"
         "<p><img src=\"obrazky/foto.jpg\" alt=\"foto\"><img src=\"data:image/png;base64,AAAA\"></p><hr><p>Konec</p>",
         "[b]Titulek[/b]\nText s [url=https://www.example.org/o-nas]odkazem[/url] a kódem.\n"
         "[quote]Citát\nve dvou odstavcích[/quote]\n"
         "[code]\nint main()\n{\n    return 0;\n}\n[/code]\n"
         "[img]https://www.example.org/clanky/obrazky/foto.jpg[/img]\n[hr]\nKonec"},
        {"what a page hides, and its scripts, styles and comments",
         "<style>p { color: red }</style><script>document.write('x')</script><!-- poznámka -->"
         "<p>vidět<span style=\"display:none\">skryté</span><span hidden>taky</span></p><noscript>bez</noscript>",
         "vidět"},
        {"entities and a numbered list",
         "<p>&lt;b&gt; &amp; &quot;uvozovky&quot; &#x1F600; &eacute;</p><ol><li>jedna</li><li>dvě</li></ol>",
         "<b> & \"uvozovky\" \xF0\x9F\x98\x80 é\n[list=1]\n[*]jedna\n[*]dvě\n[/list]"},
        {"strike-through, underline and centring written as styles",
         "<div style=\"text-align:center\"><span style=\"text-decoration: underline line-through\">obojí</span></div>"
         "<p><del>pryč</del> <ins>nové</ins></p>",
         "[center][u][s]obojí[/s][/u][/center]\n[s]pryč[/s] [u]nové[/u]"},
        {"links: e-mail, a text that is the address, and what is no link",
         "<a href=\"mailto:petr%40example.cz?subject=x\">petr@example.cz</a>, "
         "<a href=\"mailto:petr@example.cz\">Petr</a>, <a href=\"https://a.cz/x y[1]\">https://a.cz/x%20y%5B1%5D</a>, "
         "<a href=\"javascript:alert(1)\">skript</a>, <a href=\"#kotva\">kotva</a>, <a name=\"n\">jméno</a>",
         "[email]petr@example.cz[/email], [email=petr@example.cz]Petr[/email], "
         "[url]https://a.cz/x%20y%5B1%5D[/url], skript, kotva, jméno"},
    });
}

// Rows for what users of other editors complained of.
TEST(HtmlMarkup, NoSpaceIsLostAndNoLineIsAdded)
{
    expect_rows({
        {"spaces between inline elements", "<b>jedna</b> <i>dvě</i><u> tři</u><b>čtyři </b>pět",
         "[b]jedna[/b] [i]dvě[/i] [u]tři[/u][b]čtyři[/b] pět"},
        {"white space collapses as a browser shows it", "<p>  mnoho \n\t mezer  </p>\n\n<p>\ndruhý</p>",
         "mnoho mezer\ndruhý"},
        {"one line for each paragraph", "<p>první</p><p>druhý</p><div>třetí</div>", "první\ndruhý\ntřetí"},
        {"line breaks, and none at the end of a block", "<p>a<br>b<br></p><p>c<br><br>d</p>", "a\nb\nc\n\nd"},
        {"bold across a line break stays on its lines", "<p><b>a<br>b</b></p><p><b>c<br></b>d</p>",
         "[b]a\nb[/b]\n[b]c[/b]\nd"},
        {"nested lists", "<ul><li>a<ul><li>b<ol><li>c</li></ol></li></ul></li><li>d</li></ul>",
         "[list]\n[*]a\n[list]\n[*]b\n[list=1]\n[*]c\n[/list]\n[/list]\n[*]d\n[/list]"},
        {"a link whose text is its address", "<a href=\"https://forum.example.org/read.php?1\">"
                                             "https://forum.example.org/read.php?1</a>",
         "[url]https://forum.example.org/read.php?1[/url]"},
        {"one of the editor's smileys", "Ahoj <img src=\"" + smiley_address(3) + "\"> <img src=\"" +
                                            smiley_address(7) + "\">!",
         "Ahoj " + smiley_markup(3) + smiley_markup(7) + "!"},
    });
}

TEST(HtmlMarkup, ColoursAndSizesOnlyWhenAskedAndOnlyThoseThatStandOut)
{
    const std::string html = "<p style=\"color:#333\">šedý <span style=\"color:red\">červený</span> "
                             "<font color=\"#0000ff\" size=\"6\">modrý velký</font> "
                             "<span style=\"font-size:9pt\">malý</span> <big>trochu</big> "
                             "<a href=\"https://a.cz\" style=\"color:green\">odkaz</a></p>";
    expect_rows({{"by default", html, "šedý červený modrý velký malý trochu [url=https://a.cz]odkaz[/url]"}});
    PasteOptions options;
    options.colors_and_sizes = true;
    expect_rows({{"carried", html,
                  "šedý [color=#FF0000]červený[/color] [size=30px][color=#0000FF]modrý velký[/color][/size] "
                  "[size=14px]malý[/size] [size=22px]trochu[/size] [url=https://a.cz]odkaz[/url]"}},
                options);
    // In the forum's own form, as the size commands write it there.
    options.forum = &forum_profile(ForumProfileId::phpbb);
    EXPECT_EQ(converted("<span style=\"font-size:22px\">x</span>", options), "[size=150]x[/size]");
    options.forum = &forum_profile(ForumProfileId::mybb);
    EXPECT_EQ(converted("<span style=\"font-size:22px\">x</span>", options), "[size=x-large]x[/size]");
}

TEST(HtmlMarkup, OnlyTheTagsAForumKnowsAreWritten)
{
    PasteOptions options;
    options.tags.reset();
    options.tags.set(static_cast<size_t>(ForumTagId::b));
    expect_rows({{"a forum that knows only [b]",
                  "<blockquote><b>tučně</b> <i>šikmo</i> <a href=\"https://a.cz\">odkaz</a></blockquote>"
                  "<ul><li>a</li><li>b</li></ul><ol><li>c</li></ol><hr><pre>x  y</pre><img src=\"https://a.cz/i.png\">",
                  "[b]tučně[/b] šikmo odkaz\n• a\n• b\n1. c\nx  y"}},
                options);

    // The real forums, as the paste sets them up from the chosen profile:
    // phpBB has no [center] or [hr]; SMF numbers no list.
    const std::string html = "<center>střed</center><hr><ol><li>c</li></ol>";
    const std::pair<ForumProfileId, const char*> forums[] = {
        {ForumProfileId::phpbb, "střed\n[list=1]\n[*]c\n[/list]"},
        {ForumProfileId::smf, "[center]střed[/center]\n[hr]\n[list]\n[*]c\n[/list]"},
    };
    for (const auto& [id, expected] : forums) {
        const ForumProfile& forum = forum_profile(id);
        options.forum = &forum;
        for (size_t tag = 0; tag < FORUM_TAG_COUNT; ++tag)
            options.tags.set(tag, knows_tag(forum, static_cast<ForumTagId>(tag)));
        const std::string markup = converted(html, options);
        EXPECT_EQ(markup, expected) << static_cast<int>(id);
        EXPECT_EQ(check_tags(markup, forum).kind, TagProblemKind::none) << markup;
    }
}

TEST(HtmlMarkup, NestingStopsWhereTheForumsStop)
{
    std::string html;
    for (int i = 0; i < 40; ++i)
        html += "<blockquote><b><i>";
    html += "hluboko";
    const std::string markup = converted(html);
    EXPECT_NE(markup.find("hluboko"), std::string::npos);
    EXPECT_EQ(check_tags(markup).kind, TagProblemKind::none);
}

TEST(HtmlMarkup, WrittenTagsArePlacedInTheControlsUnits)
{
    const PastedMarkup markup = html_to_markup("😀 č<b>tučně</b>\n<p><a href=\"https://a.cz\">a</a></p>", "", {}).markup;
    ASSERT_EQ(markup.text, "😀 č[b]tučně[/b]\n[url=https://a.cz]a[/url]");
    const std::u16string units = utf8_to_utf16(markup.text);
    ASSERT_EQ(markup.tags.size(), 2u);
    EXPECT_EQ(units.substr(markup.tags[0].begin, markup.tags[0].end - markup.tags[0].begin), u"[b]tučně[/b]");
    EXPECT_EQ(units.substr(markup.tags[1].begin, markup.tags[1].end - markup.tags[1].begin), u"[url=https://a.cz]a[/url]");
}

TEST(HtmlMarkup, HostileHtmlIsRefusedOrReadSafely)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<div>";
    EXPECT_EQ(html_to_markup(deep + "x", "", {}).refusal, PasteRefusal::too_deep);
    EXPECT_EQ(html_to_markup(std::string(MAX_PASTED_HTML_BYTES + 1, 'x'), "", {}).refusal, PasteRefusal::too_large);
    // Invalid UTF-8 and NULs are no reason to lose the rest.
    EXPECT_EQ(converted(std::string("a\xC3(b\0c", 6)), "a\xEF\xBF\xBD(bc");
    // Five megabytes of attributes.
    const std::string attributes(5 * 1024 * 1024, 'x');
    EXPECT_EQ(converted("<b title=\"" + attributes + "\" style=\"" + attributes + "\">x</b>"), "[b]x[/b]");
}

TEST(ClipboardHtml, TheFragmentIsWhereTheHeaderSays)
{
    const std::string body = "<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body></html>";
    const auto header = [&](long start, long end) {
        char text[200];
        snprintf(text, sizeof text,
                 "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000000000\r\nStartFragment:%010ld\r\n"
                 "EndFragment:%010ld\r\nSourceURL:https://a.cz/b\r\n",
                 start, end);
        return std::string(text);
    };
    const size_t header_size = header(0, 0).size();
    const size_t start = header_size + body.find("<b>");
    const size_t end = header_size + body.find("<!--End");
    const std::string data = header(static_cast<long>(start), static_cast<long>(end)) + body + '\0';
    const auto sound = read_clipboard_html(data);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->fragment, "<b>x</b>");
    EXPECT_EQ(sound->source_url, "https://a.cz/b");

    // Offsets beyond the data, or the wrong way round: the comments say where.
    for (const auto& [first, last] : {std::pair{start, end + 1000}, std::pair{end, start}}) {
        const std::string misplaced = header(static_cast<long>(first), static_cast<long>(last)) + body;
        const auto found = read_clipboard_html(misplaced);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->fragment, "<b>x</b>");
    }
    EXPECT_FALSE(read_clipboard_html(header(5, 99999) + "<b>no comments</b>"));
    EXPECT_FALSE(read_clipboard_html("StartFragment:99999999999999999999\r\nEndFragment:1\r\n<b>x</b>"));
}
