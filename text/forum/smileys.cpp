#include "text/forum/smileys.h"

#include <iterator>
#include <string_view>

#include "text/forum/forum_urls.h"

namespace {

// The smileys in menu order: the picture's file on the forum, or a whole
// address for the one hosted elsewhere. All but one leave a space behind.
struct Smiley {
    std::string_view forum_file;
    std::string_view address;
    bool space_after;
};

constexpr Smiley SMILEYS[] = {
    {"399175", {}, true}, {"399176", {}, true}, {"399178", {}, true}, {"399179", {}, true},
    {"399180", {}, true}, {"399181", {}, true}, {"399182", {}, true}, {"399183", {}, false},
    {"399184", {}, true}, {"399185", {}, true}, {"399186", {}, true}, {"399187", {}, true},
    {"399188", {}, true}, {"399189", {}, true}, {"399191", {}, true}, {"399192", {}, true},
    {{}, EXTRA_SMILEY_URL, true},
};
static_assert(std::size(SMILEYS) == SMILEY_COUNT, "one smiley for each picture in the menu");

std::string address_of(const Smiley& smiley)
{
    if (smiley.address.empty())
        return FORUM_BASE_URL "/file.php?108,file=" + std::string(smiley.forum_file);
    return std::string(smiley.address);
}

} // namespace

std::string smiley_address(std::size_t index)
{
    return index < SMILEY_COUNT ? address_of(SMILEYS[index]) : std::string();
}

std::string smiley_markup(std::size_t index)
{
    if (index >= SMILEY_COUNT)
        return {};
    std::string text = "[img]" + address_of(SMILEYS[index]) + "[/img]";
    if (SMILEYS[index].space_after)
        text += ' ';
    return text;
}

std::size_t smiley_at_address(std::string_view address)
{
    for (std::size_t i = 0; i < SMILEY_COUNT; ++i)
        if (address_of(SMILEYS[i]) == address)
            return i;
    return SMILEY_COUNT;
}
