#include "markup/tag_text.h"

std::string wrap_text(std::string_view open_tag, std::string_view text, std::string_view close_tag)
{
    std::string result;
    result.reserve(open_tag.size() + text.size() + close_tag.size());
    result.append(open_tag).append(text).append(close_tag);
    return result;
}
