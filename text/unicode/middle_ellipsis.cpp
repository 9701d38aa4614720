#include "text/unicode/middle_ellipsis.h"

#include "text/unicode/unicode_text.h"

namespace {

constexpr std::string_view ELLIPSIS = "...";

} // namespace

std::string shorten_in_middle(std::string_view utf8, std::size_t most_characters)
{
    // Counted in characters, so that a cut never falls inside one.
    const std::size_t characters = count_code_points(utf8);
    if (characters <= most_characters)
        return std::string(utf8);
    const std::size_t kept = most_characters - ELLIPSIS.size();
    const std::size_t head = kept / 2;
    std::string shortened(utf8.substr(0, skip_code_points(utf8, 0, head)));
    shortened += ELLIPSIS;
    shortened += utf8.substr(skip_code_points(utf8, 0, characters - (kept - head)));
    return shortened;
}
