#include "text/files/document_title.h"

#include "text/unicode/middle_ellipsis.h"

namespace {

constexpr std::string_view TITLE_OPEN = "Editor [";
constexpr std::string_view TITLE_CLOSE = "]";

} // namespace

std::string document_title(std::string_view file_name)
{
    constexpr std::size_t room = TITLE_BUFFER_SIZE - 1 - TITLE_OPEN.size() - TITLE_CLOSE.size();
    std::string title(TITLE_OPEN);
    title += shorten_in_middle(file_name, room);
    title += TITLE_CLOSE;
    return title;
}
