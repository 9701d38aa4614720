#include "text/files/document_title.h"
#include "text/unicode/unicode_text.h"

#include <gtest/gtest.h>

TEST(DocumentTitle, NamesTheFileInBrackets)
{
    EXPECT_EQ(document_title("C:\\posts\\post.rtf"), "Editor [C:\\posts\\post.rtf]");
    EXPECT_EQ(document_title(""), "Editor []");
}

TEST(DocumentTitle, ShortensOnlyWhatDoesNotFitInTheMiddle)
{
    struct Case {
        std::size_t name_length;
        bool shortened;
    };
    // "Editor [" and "]" leave 250 of the 259 characters for the name.
    for (const Case test : {Case{249, false}, Case{250, false}, Case{251, true}, Case{259, true}, Case{5000, true}}) {
        SCOPED_TRACE(test.name_length);
        std::string name = "C:\\";
        name += std::string(test.name_length - 12, 'x');
        name += "\\post.rtf";
        ASSERT_EQ(name.size(), test.name_length);

        const std::string title = document_title(name);
        EXPECT_LE(title.size(), TITLE_BUFFER_SIZE - 1);
        EXPECT_EQ(title.rfind("Editor [C:\\xx", 0), 0u);
        EXPECT_EQ(title.substr(title.size() - 10), "\\post.rtf]");
        EXPECT_EQ(title.find("...") != std::string::npos, test.shortened);
        if (test.shortened) {
            EXPECT_EQ(title.size(), TITLE_BUFFER_SIZE - 1);
            // The cut sits in the middle of the name.
            const auto cut = title.find("...") - 8;
            const auto kept_after = title.size() - 1 - (title.find("...") + 3);
            EXPECT_LE(cut > kept_after ? cut - kept_after : kept_after - cut, 1u);
        }
    }
}

TEST(DocumentTitle, ALongUnicodeNameIsShortenedBetweenCharacters)
{
    // 300 characters of two bytes each, then an emoji and the extension.
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "\xC5\x99";
    name += "\xF0\x9F\x98\x80.rtf";
    const std::string title = document_title(name);
    EXPECT_EQ(count_code_points(title), TITLE_BUFFER_SIZE - 1);
    EXPECT_TRUE(is_valid_utf8(title));
    EXPECT_EQ(title.substr(title.size() - 9), "\xF0\x9F\x98\x80.rtf]");
}
