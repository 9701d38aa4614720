#include "text/files/draft_file.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

Draft example_draft()
{
    return {4242, 133515007000000000, "C:\\posts\\post.rtf", DraftKind::rtf, "windows-1250",
            "{\\rtf1\\ansi Hello, forum!\\par}"};
}

// Content with a checksum line that matches it, as a writer would end it.
std::string sealed(const std::string& content)
{
    char line[32];
    std::snprintf(line, sizeof line, "crc32 %08x\n", static_cast<unsigned>(draft_checksum(content)));
    return content + line;
}

TEST(DraftFile, ChecksumIsTheCrc32OfZipAndPng)
{
    EXPECT_EQ(draft_checksum("123456789"), 0xCBF43926u);
}

// Drafts written by this version must stay readable by later ones.
TEST(DraftFile, WritesTheLayoutItDocuments)
{
    EXPECT_EQ(write_draft(example_draft()),
              "ForumEditorDraft 1\n"
              "process 4242\n"
              "written 133515007000000000\n"
              "kind rtf\n"
              "encoding 12\nwindows-1250\n"
              "name 17\nC:\\posts\\post.rtf\n"
              "body 30\n{\\rtf1\\ansi Hello, forum!\\par}\n"
              "crc32 bcd18878\n");
}

TEST(DraftFile, ReadsBackWhatItWrote)
{
    const Draft untitled{.kind = DraftKind::text};
    // Largest numbers, a name with a lone surrogate kept as WTF-8, and
    // fields that look like the draft's own lines.
    const Draft odd{0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF, "D:\\p\xC5\x99\xC3\xADsp\xC4\x9Bvek \xED\xA0\x80.rtf", DraftKind::rtf,
                    "utf-8\ncrc32 00000000\n", std::string("line\r\nbody 5\n\0crc32 ", 20) + std::string(100000, 'x')};
    for (const Draft& draft : {example_draft(), untitled, odd}) {
        DraftFault why;
        const auto read = read_draft(write_draft(draft), &why);
        ASSERT_TRUE(read) << static_cast<int>(why.kind) << " " << why.detail;
        EXPECT_EQ(*read, draft);
    }
}

TEST(DraftFile, RefusesEveryCutAndEveryFlippedBit)
{
    const std::string good = write_draft(example_draft());
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(read_draft(good.substr(0, length))) << "cut to " << length;
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string damaged = good;
            damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
            EXPECT_FALSE(read_draft(damaged)) << "bit " << bit << " of byte " << at;
        }
    }
    EXPECT_FALSE(read_draft(good + "\n"));
    EXPECT_FALSE(read_draft(good + good));
}

TEST(DraftFile, SaysWhatIsWrong)
{
    std::string content = write_draft(example_draft());
    content.erase(content.rfind("crc32 "));
    auto with = [&](std::string_view from, std::string_view to) {
        std::string changed = content;
        changed.replace(changed.find(from), from.size(), to);
        return sealed(changed);
    };
    struct Case {
        const char* name;
        std::string bytes;
        DraftFault why;
    };
    const Case cases[] = {
        {"empty", "", {DraftFaultKind::not_a_draft, ""}},
        {"another file", "{\\rtf1 not a draft}", {DraftFaultKind::not_a_draft, ""}},
        {"newer version", with("Draft 1", "Draft 2"), {DraftFaultKind::other_version, "2"}},
        {"cut short", content.substr(0, 80), {DraftFaultKind::cut_short, ""}},
        {"checksum off", content + "crc32 bcd18879\n", {DraftFaultKind::checksum_mismatch, ""}},
        {"process id too large", with("process 4242", "process 4294967296"), {DraftFaultKind::damaged_line, "process"}},
        {"leading zero", with("written 1", "written 01"), {DraftFaultKind::damaged_line, "written"}},
        {"unknown kind", with("kind rtf", "kind html"), {DraftFaultKind::damaged_line, "kind"}},
        {"field longer than the draft", with("encoding 12", "encoding 999999"), {DraftFaultKind::damaged_line, "encoding"}},
        {"line missing", with("name 17\nC:\\posts\\post.rtf\n", ""), {DraftFaultKind::damaged_line, "name"}},
        {"bytes after the body", sealed(content + "extra\n"), {DraftFaultKind::after_body, ""}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        DraftFault why;
        EXPECT_FALSE(read_draft(test.bytes, &why));
        EXPECT_EQ(static_cast<int>(why.kind), static_cast<int>(test.why.kind));
        EXPECT_EQ(why.detail, test.why.detail);
    }
}

TEST(DraftFirstWords, KeepsWholeWordsAndMarksTheCut)
{
    struct Case {
        const char* text;
        std::size_t max_chars;
        const char* expected;
    };
    const Case cases[] = {
        {"  Hello,\r\n\r\n\tforum!  ", 20, "Hello, forum!"},
        {"one two", 7, "one two"},
        {"one two three four", 12, "one two..."},
        {"one two", 6, "one..."},
        {"abcdefghij klm", 6, "abc..."},
        {"P\xC5\x99\xC3\xAD\x6C\x69\xC5\xA1 \xC5\xBEluou\xC4\x8Dk\xC3\xBD", 10, "P\xC5\x99\xC3\xAD\x6C\x69\xC5\xA1..."},
        {"\xC5\xBE\xC5\xBE\xC5\xBE\xC5\xBE\xC5\xBE\xC5\xBE", 5, "\xC5\xBE\xC5\xBE..."},
        {"\xF0\x9F\x98\x80\xED\xA0\x80\xF0\x9F\x98\x80xx", 4, "\xF0\x9F\x98\x80..."}, // emoji, lone surrogate
        {"ab\xE2\x82 \x80\x80", 10, "ab\xE2\x82 \x80\x80"},                          // malformed, kept whole
        {"hello world", 2, ".."},
        {"hello world", 0, ""},
        {" \r\n ", 5, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(test.text)));
        EXPECT_EQ(draft_first_words(test.text, test.max_chars), test.expected);
    }
}

} // namespace
