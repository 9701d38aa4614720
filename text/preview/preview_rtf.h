// The live preview: a post shown as the forum will show it, as an RTF
// document for the rich-edit control. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "text/forum/forum_profile.h"

// The words the preview writes itself, in the language of the interface,
// UTF-8: the header over a quote, over a quote that names its author ("%1"
// stands for the name), over code, and a picture's placeholder ("%1" for
// its address).
struct PreviewLabels {
    std::string quote;
    std::string author_quote;
    std::string code;
    std::string picture;
};

struct PreviewOptions {
    PreviewLabels labels;

    // Pictures to show for image addresses, such as the editor's own
    // smileys: the address as written between [img] and [/img] (white space
    // around it does not count), and a complete RTF picture group
    // ("{\pict ...}") that is written as given. A group whose braces do not
    // balance is not used. Other addresses get a framed placeholder.
    std::map<std::string, std::string, std::less<>> pictures;
};

// Text sizes of the preview: the forum's own size, and the range that
// [size=] values are held to.
inline constexpr int PREVIEW_TEXT_PIXELS = 13;
inline constexpr int PREVIEW_SMALLEST_PIXELS = 6;
inline constexpr int PREVIEW_LARGEST_PIXELS = 40;

// A complete RTF document of the post, laid out as the profile's forum
// renders it. What is markup follows match_tags(): bold, italic, underline,
// strikeout, colours, sizes in the forum's unit (pixels held to the range
// above, at 96 pixels an inch; a percentage or "em" of the text around),
// [url] and [email] blue and underlined, [img] as a picture or placeholder,
// [quote] and [code] indented under their labels, code in a monospace font,
// [center], [hr] as a line, [list] items as bullets, or numbers, letters and
// Roman numerals for [list=1], [list=a], [list=A], [list=i] and [list=I],
// SMF's [li] as [*]. A quote the forum removes is left out with all it holds.
// Every line break is kept, except one directly after a block tag ([quote],
// [code], [center], [list], their closes and [hr]) and one directly before
// a block's close: the block stands on lines of its own already. Broken
// markup and unknown tags are shown as typed. Characters beyond ASCII are
// written as \uN? escapes; a broken UTF-8 byte as U+FFFD; control
// characters other than tab and line breaks are left out.
// The result is ASCII, its groups balance and nest no deeper than the
// header's (a picture group adds its own depth), and it grows linearly with
// the post, in linear time.
std::string render_preview_rtf(std::string_view post, const PreviewOptions& options = {},
                               const ForumProfile& profile = editor_profile());

// The same preview cut into paragraphs that each set their whole format
// first, so that a pane can replace the paragraphs that changed and keep
// the others. Read together they look exactly like render_preview_rtf().
struct PreviewParagraphs {
    std::string head;                    // "{\rtf1", the font and colour tables, the default format
    std::vector<std::string> paragraphs; // each without the \par that ends it
};

PreviewParagraphs render_preview_paragraphs(std::string_view post, const PreviewOptions& options = {},
                                            const ForumProfile& profile = editor_profile());

// A complete RTF document of paragraphs [first, last) of the preview, each
// ended by \par, so that they stand in front of whatever follows them.
std::string preview_paragraphs_document(const PreviewParagraphs& preview, size_t first, size_t last);
