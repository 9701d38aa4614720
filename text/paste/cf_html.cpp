#include "text/paste/cf_html.h"

#include <cstdint>
#include <string>

namespace {

constexpr std::string_view START_COMMENT = "<!--StartFragment-->";
constexpr std::string_view END_COMMENT = "<!--EndFragment-->";
// More digits than any offset in data the clipboard can hold.
constexpr std::size_t MOST_DIGITS = 15;

std::optional<std::size_t> offset_value(std::string_view value)
{
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r'))
        value.remove_suffix(1);
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    if (value.empty() || value.size() > MOST_DIGITS)
        return std::nullopt;
    std::uint64_t number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return static_cast<std::size_t>(number);
}

struct Header {
    std::optional<std::size_t> start_fragment;
    std::optional<std::size_t> end_fragment;
    std::string_view source_url;
};

// The "Name:value" lines before the HTML starts.
Header read_header(std::string_view data)
{
    Header header;
    std::size_t at = 0;
    while (at < data.size() && data[at] != '<') {
        const std::size_t end = std::min(data.find('\n', at), data.size());
        const std::string_view line = data.substr(at, end - at);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos) {
            const std::string_view name = line.substr(0, colon);
            const std::string_view value = line.substr(colon + 1);
            if (name == "StartFragment")
                header.start_fragment = offset_value(value);
            else if (name == "EndFragment")
                header.end_fragment = offset_value(value);
            else if (name == "SourceURL")
                header.source_url = value.substr(0, value.find_last_not_of(" \r") + 1);
        }
        at = end + 1;
    }
    return header;
}

} // namespace

std::optional<ClipboardHtml> read_clipboard_html(std::string_view data)
{
    // What stands after the terminating NUL is not the HTML's.
    data = data.substr(0, data.find('\0'));
    const Header header = read_header(data);
    ClipboardHtml html{{}, header.source_url};
    if (header.start_fragment && header.end_fragment && *header.start_fragment <= *header.end_fragment &&
        *header.end_fragment <= data.size()) {
        html.fragment = data.substr(*header.start_fragment, *header.end_fragment - *header.start_fragment);
        return html;
    }
    const std::size_t start = data.find(START_COMMENT);
    const std::size_t end = data.rfind(END_COMMENT);
    if (start == std::string_view::npos || end == std::string_view::npos || end < start + START_COMMENT.size())
        return std::nullopt;
    html.fragment = data.substr(start + START_COMMENT.size(), end - start - START_COMMENT.size());
    return html;
}
