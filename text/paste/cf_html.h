// The clipboard's "HTML Format" (CF_HTML): a header of "Name:value" lines
// whose byte offsets say where the HTML and the copied fragment stand, then
// the HTML itself, UTF-8. Pure text: no Windows headers.
#pragma once

#include <optional>
#include <string_view>

struct ClipboardHtml {
    std::string_view fragment;   // what was copied
    std::string_view source_url; // the page it came from; empty when not said
};

// The fragment between StartFragment and EndFragment. Offsets that point
// outside the data, or the wrong way round, are not followed: the fragment
// is then what stands between the <!--StartFragment--> and
// <!--EndFragment--> comments that browsers write, or nothing.
std::optional<ClipboardHtml> read_clipboard_html(std::string_view data);
