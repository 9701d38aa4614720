#include "text/files/recent_files.h"

#include <algorithm>

#include "text/unicode/middle_ellipsis.h"

std::vector<std::string> with_recent_file(std::vector<std::string> list, std::string_view path, SamePath same)
{
    list = without_recent_file(std::move(list), path, same);
    list.insert(list.begin(), std::string(path));
    if (list.size() > RECENT_FILE_COUNT)
        list.resize(RECENT_FILE_COUNT);
    return list;
}

std::vector<std::string> without_recent_file(std::vector<std::string> list, std::string_view path, SamePath same)
{
    std::erase_if(list, [&](const std::string& entry) { return same(entry, path); });
    return list;
}

std::vector<std::string> without_repeated_files(std::vector<std::string> list, SamePath same)
{
    std::vector<std::string> once;
    for (std::string& path : list)
        if (std::none_of(once.begin(), once.end(), [&](const std::string& kept) { return same(kept, path); }))
            once.push_back(std::move(path));
    return once;
}

std::string recent_file_caption(std::size_t index, std::string_view path)
{
    std::string caption = "&" + std::to_string(index + 1) + " ";
    // A single "&" would underline the next character instead of showing.
    for (char c : shorten_in_middle(path, RECENT_CAPTION_CHARACTERS)) {
        if (c == '&')
            caption += '&';
        caption += c;
    }
    return caption;
}
