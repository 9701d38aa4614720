// A piece of HTML, as web pages, LibreOffice and Word put it on the
// clipboard, written as the post's markup: what the page showed bold,
// italic, linked, quoted, listed or centred is marked up so, and its text
// is laid out as a browser lays it out. libxml2's HTML parser reads it.
// Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/paste/pasted_markup.h"

// More HTML than this is not read: no post comes from it.
inline constexpr std::size_t MAX_PASTED_HTML_BYTES = 16 * 1024 * 1024;
// Elements nested deeper than this are not read: no page needs them.
inline constexpr std::size_t MAX_PASTED_HTML_DEPTH = 512;

struct HtmlConversion {
    PasteRefusal refusal = PasteRefusal::none; // when not none, no markup
    PastedMarkup markup;
};

// Converts the HTML (any bytes; invalid UTF-8 becomes U+FFFD). Relative
// links and pictures are taken relative to `page_address`, the address of
// the page it came from, when that is a web address. Linear in the HTML.
HtmlConversion html_to_markup(std::string_view html, std::string_view page_address, const PasteOptions& options);
