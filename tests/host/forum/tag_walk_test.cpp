#include "text/forum/tag_walk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the walk told, one line an event, with the text each one covers.
class Journal : public TagVisitor {
public:
    explicit Journal(std::string_view post) : post_(post) {}

    void text(std::string_view text, size_t, const TagToken* next) override
    {
        log_ += "text " + std::string(text) + (next ? " | " + tag(*next) : "") + "\n";
    }
    void open(const TagToken& tag) override { log_ += "open " + this->tag(tag) + "\n"; }
    void close(const TagToken& tag) override { log_ += "close " + this->tag(tag) + "\n"; }
    void literal(const TagToken& open, std::string_view text, size_t) override
    {
        log_ += "literal " + tag(open) + " " + std::string(text) + "\n";
    }
    void removed_quote(const TagToken& open, const TagToken& close) override
    {
        log_ += "removed " + std::string(post_.substr(open.offset, close.offset + close.length - open.offset)) + "\n";
    }

    const std::string& log() const { return log_; }

private:
    std::string tag(const TagToken& tag) const { return std::string(post_.substr(tag.offset, tag.length)); }

    std::string_view post_;
    std::string log_;
};

std::string walked(std::string_view post, ForumProfileId forum)
{
    const ForumProfile& profile = forum_profile(forum);
    Journal journal(post);
    walk_tags(post, match_tags(post, profile), journal);
    return journal.log();
}

struct WalkCase {
    const char* post;
    ForumProfileId forum;
    const char* events;
};

// Broken and unknown tags are text; what [code] and [img] hold is given as
// it stands, even empty; a quote phpBB removes is skipped with all it holds.
const WalkCase CASES[] = {
    {"a[b]b[/i][/b]", ForumProfileId::editor, "text a | [b]\nopen [b]\ntext b[/i] | [/b]\nclose [/b]\n"},
    {"[code][b]x[/code][img][/img][hr]", ForumProfileId::editor,
     "open [code]\nliteral [code] [b]x\nclose [/code]\nopen [img]\nliteral [img] \nclose [/img]\nopen [hr]\n"},
    {"[quote][quote][quote]c[quote]d[b]e[/b][/quote][/quote][/quote][/quote]f", ForumProfileId::phpbb,
     "open [quote]\nopen [quote]\nopen [quote]\ntext c | [quote]\nremoved [quote]d[b]e[/b][/quote]\n"
     "close [/quote]\nclose [/quote]\nclose [/quote]\ntext f\n"},
    {"[center]x[/center]", ForumProfileId::phpbb, "text [center]x[/center]\n"},
    {"", ForumProfileId::editor, ""},
};

TEST(WalkTags, TellsWhatItMeetsInOrder)
{
    for (const WalkCase& c : CASES)
        EXPECT_EQ(walked(c.post, c.forum), c.events) << c.post;
}

} // namespace
