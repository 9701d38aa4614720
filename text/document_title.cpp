#include "text/document_title.h"

#include "text/unicode_text.h"

namespace {

constexpr std::string_view TITLE_OPEN = "Editor [";
constexpr std::string_view TITLE_CLOSE = "]";
constexpr std::string_view ELLIPSIS = "...";

} // namespace

std::string document_title(std::string_view file_name)
{
    // Counted in characters, so that a cut never falls inside one.
    constexpr std::size_t room = TITLE_BUFFER_SIZE - 1 - TITLE_OPEN.size() - TITLE_CLOSE.size();
    const std::size_t characters = count_code_points(file_name);
    std::string title(TITLE_OPEN);
    if (characters <= room) {
        title += file_name;
    } else {
        const std::size_t kept = room - ELLIPSIS.size();
        const std::size_t head = kept / 2;
        title += file_name.substr(0, skip_code_points(file_name, 0, head));
        title += ELLIPSIS;
        title += file_name.substr(skip_code_points(file_name, 0, characters - (kept - head)));
    }
    title += TITLE_CLOSE;
    return title;
}
