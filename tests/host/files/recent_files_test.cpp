#include "text/files/recent_files.h"
#include "text/unicode/unicode_text.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

bool same_ignoring_ascii_case(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

std::vector<std::string> add(std::vector<std::string> list, std::string_view path)
{
    return with_recent_file(std::move(list), path, same_ignoring_ascii_case);
}

} // namespace

TEST(RecentFiles, NewestComesFirstAndTheSameFileOnlyOnce)
{
    std::vector<std::string> list = add({}, "C:\\a.rtf");
    list = add(list, "C:\\b.rtf");
    list = add(list, "c:\\A.RTF");
    EXPECT_EQ(list, (std::vector<std::string>{"c:\\A.RTF", "C:\\b.rtf"}));
    EXPECT_EQ(without_recent_file(list, "C:\\B.rtf", same_ignoring_ascii_case),
              (std::vector<std::string>{"c:\\A.RTF"}));
}

TEST(RecentFiles, AFileStoredTwiceIsListedOnceWhereItFirstStands)
{
    EXPECT_EQ(without_repeated_files({"C:\\A.rtf", "C:\\b.rtf", "c:\\a.RTF", "C:\\B.RTF"}, same_ignoring_ascii_case),
              (std::vector<std::string>{"C:\\A.rtf", "C:\\b.rtf"}));
}

TEST(RecentFiles, KeepsTheEightNewest)
{
    std::vector<std::string> list;
    for (char name = 'a'; name <= 'j'; ++name)
        list = add(list, std::string(1, name));
    EXPECT_EQ(list, (std::vector<std::string>{"j", "i", "h", "g", "f", "e", "d", "c"}));
}

TEST(RecentFiles, CaptionNumbersTheItemShortensALongPathInTheMiddleAndShowsAmpersands)
{
    EXPECT_EQ(recent_file_caption(0, "C:\\Tom & Jerry.rtf"), "&1 C:\\Tom && Jerry.rtf");
    // Czech letters are whole characters, never cut in two.
    const std::string path = "C:\\" + std::string(100, 'x') + "\\příspěvek.rtf";
    const std::string caption = recent_file_caption(7, path);
    EXPECT_EQ(caption.rfind("&8 C:\\xxx", 0), 0u);
    EXPECT_NE(caption.find("xxx...xxx"), std::string::npos);
    EXPECT_EQ(caption.substr(caption.size() - 17), "\\příspěvek.rtf");
    EXPECT_EQ(count_code_points(caption.substr(3)), RECENT_CAPTION_CHARACTERS);
    EXPECT_TRUE(is_valid_utf8(caption));
}
