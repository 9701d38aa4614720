#include "document/document_title.h"

namespace {

constexpr std::string_view TITLE_OPEN = "Editor [";
constexpr std::string_view TITLE_CLOSE = "]";
constexpr std::string_view ELLIPSIS = "...";

} // namespace

std::string document_title(std::string_view file_name)
{
    constexpr std::size_t room = TITLE_BUFFER_SIZE - 1 - TITLE_OPEN.size() - TITLE_CLOSE.size();
    std::string title(TITLE_OPEN);
    if (file_name.size() <= room) {
        title += file_name;
    } else {
        const std::size_t kept = room - ELLIPSIS.size();
        const std::size_t head = kept / 2;
        title += file_name.substr(0, head);
        title += ELLIPSIS;
        title += file_name.substr(file_name.size() - (kept - head));
    }
    title += TITLE_CLOSE;
    return title;
}
