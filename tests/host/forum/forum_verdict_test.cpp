// What the conformance table (forum_verdicts_test.cpp) cannot show: the
// user's own limit, the order of the forums' checks at their edges, and the
// value tests one by one.
#include <gtest/gtest.h>

#include <string>

#include "text/forum/forum_profile.h"
#include "text/forum/forum_verdict.h"
#include "text/forum/tag_check.h"
#include "text/forum/tag_match.h"
#include "text/forum/tag_values.h"

namespace {

PostVerdict judged(const std::string& post, ForumProfileId id, uint32_t limit)
{
    const ForumProfile& profile = forum_profile(id);
    return judge_post(post, match_tags(post, profile), profile, limit);
}

TEST(ForumVerdict, TheUsersOwnLimitDecidesNotTheDefault)
{
    for (ForumProfileId id : {ForumProfileId::phpbb, ForumProfileId::smf, ForumProfileId::mybb}) {
        EXPECT_EQ(judged(std::string(100, 'a'), id, 100).refusal, PostRefusal::none);
        EXPECT_EQ(judged(std::string(101, 'a'), id, 100).refusal, PostRefusal::too_long);
    }
}

TEST(ForumVerdict, EachForumsChecksComeInItsOwnOrder)
{
    // SMF: a blank post is empty before it is too long.
    EXPECT_EQ(judged(std::string(50, ' '), ForumProfileId::smf, 10).refusal, PostRefusal::empty);
    // MyBB: too long before too short is never both; a short post with tags counts them.
    EXPECT_EQ(judged("abcd", ForumProfileId::mybb, 65535).refusal, PostRefusal::too_short);
    EXPECT_EQ(judged("[b]ab[/b]", ForumProfileId::mybb, 65535).refusal, PostRefusal::none);
    // phpBB: a size over the largest refuses even an unclosed tag, but not one in [code].
    EXPECT_EQ(judged("[size=300]x", ForumProfileId::phpbb, 60000).refusal, PostRefusal::size_too_large);
    EXPECT_EQ(judged("[code][size=300]x[/size][/code]", ForumProfileId::phpbb, 60000).refusal, PostRefusal::none);
    // ... and the length comes first.
    EXPECT_EQ(judged("[size=300]" + std::string(100, 'a'), ForumProfileId::phpbb, 50).refusal,
              PostRefusal::too_long);
}

TEST(ForumVerdict, TheRefusingTagIsNamedByItsPlace)
{
    const PostVerdict verdict = judged("ok [size=250]big[/size]", ForumProfileId::phpbb, 60000);
    EXPECT_EQ(verdict.refusal, PostRefusal::size_too_large);
    EXPECT_EQ(verdict.offset, 3u);
    EXPECT_EQ(verdict.tag_length, 10u);
}

TEST(ForumVerdict, PhpbbComparesTheSizeAsPhp8Does)
{
    const ForumProfile& phpbb = forum_profile(ForumProfileId::phpbb);
    struct Case {
        const char* value;
        bool refuses;
    };
    for (const Case& c : {Case{"200", false}, {"201", true}, {"1e3", true}, {" 300", true}, {"-5", false},
                          {"9px", true}, {"14px", false}, {"large", true}, {"150%", false}, {"2em", true}, {"", false}})
        EXPECT_EQ(size_refuses_post(phpbb, c.value), c.refuses) << c.value;
    EXPECT_FALSE(size_refuses_post(forum_profile(ForumProfileId::mybb), "300"));
}

TEST(TagValues, ColoursAsEachForumTestsThem)
{
    struct Case {
        const char* value;
        bool s9e, mybb, smf;
    };
    for (const Case& c : {Case{"#F00", true, true, true}, {"#FF0000", true, true, true}, {"#F00F", true, false, false},
                          {"FF0000", false, true, false}, {"rebeccapurple", true, true, true}, {"", false, true, false},
                          {"rgb(1,2,3)", true, false, true}, {"rgba(1,2,3,0.5)", true, false, false},
                          {"light-blue", false, false, false}, {"aaaaaaaaaaaaaaaaaaaaa", true, true, false}}) {
        EXPECT_EQ(color_taken(ColorForm::s9e, c.value), c.s9e) << c.value;
        EXPECT_EQ(color_taken(ColorForm::mybb, c.value), c.mybb) << c.value;
        EXPECT_EQ(color_taken(ColorForm::smf, c.value), c.smf) << c.value;
    }
}

TEST(TagValues, PicturesAndLinksByTheirValues)
{
    EXPECT_TRUE(img_value_taken(ImgValue::dimensions, "100x50"));
    EXPECT_FALSE(img_value_taken(ImgValue::dimensions, "0x50"));
    EXPECT_FALSE(img_value_taken(ImgValue::dimensions, "100"));
    EXPECT_TRUE(img_value_taken(ImgValue::address, "http://example.com/a.png"));
    EXPECT_FALSE(img_value_taken(ImgValue::none, "http://example.com/a.png"));
    EXPECT_TRUE(url_value_taken(UrlValue::web_or_relative, "HTTPS://example.com/"));
    EXPECT_TRUE(url_value_taken(UrlValue::web_or_relative, "/local/page"));
    EXPECT_FALSE(url_value_taken(UrlValue::web_or_relative, "javascript:alert(1)"));
    EXPECT_FALSE(url_value_taken(UrlValue::web_or_relative, "mailto:a@example.com"));
    EXPECT_TRUE(is_simple_text("upper-roman"));
    EXPECT_FALSE(is_simple_text("a;b"));
}

TEST(TagCheck, SpeaksTheForumsVerdictOnAValue)
{
    const ForumProfile& phpbb = forum_profile(ForumProfileId::phpbb);
    // Refused outright, before anything it would only show as typed.
    const TagProblem over = check_tags("[foo] [size=large]x[/size]", phpbb);
    EXPECT_EQ(over.kind, TagProblemKind::refuses_post);
    EXPECT_EQ(over.offset, 6u);
    EXPECT_EQ(check_tags("[size=300]x", phpbb).kind, TagProblemKind::refuses_post);
    EXPECT_EQ(check_tags("[size=150]x[/size]", phpbb).kind, TagProblemKind::none);
    // Shown as typed: named as such.
    EXPECT_EQ(check_tags("[color=light-blue]x[/color]", phpbb).kind, TagProblemKind::refused_value);
    EXPECT_EQ(check_tags("[url=javascript:alert(1)]x[/url]", phpbb).kind, TagProblemKind::refused_value);
    EXPECT_EQ(check_tags("[color=FF0000]x[/color]", forum_profile(ForumProfileId::mybb)).kind, TagProblemKind::none);
}

} // namespace
