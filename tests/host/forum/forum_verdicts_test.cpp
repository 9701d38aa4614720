// The forums' own code as the judge: every row of tests/data/forum-verdicts
// (made by tools/forum-judge from phpBB's, MyBB's and SMF's sources) against
// what the profiles make of the same post. A row the product still gets
// otherwise stands in exceptions.tsv with the reason; an exception that
// has come to agree fails too, so that the list only shrinks.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/forum/forum_verdict_rows.h"
#include "text/forum/forum_profile.h"
#include "text/forum/forum_verdict.h"
#include "text/forum/tag_check.h"
#include "text/forum/tag_match.h"

namespace {

std::string refusal_name(PostRefusal refusal)
{
    switch (refusal) {
    case PostRefusal::none:
        return "taken";
    case PostRefusal::empty:
        return "refused:empty";
    case PostRefusal::too_short:
        return "refused:too_short";
    case PostRefusal::too_long:
        return "refused:too_long";
    case PostRefusal::too_many_pictures:
        return "refused:too_many_pictures";
    case PostRefusal::size_too_large:
        return "refused:size_too_large";
    }
    return "?";
}

// The tags the profile lays out, in order, as the table names them: what a
// removed quote holds is gone, and an item is "*" however it was typed.
std::string markup_names(const std::vector<MatchedTag>& tags)
{
    std::string names;
    size_t removed_until = 0;
    for (const MatchedTag& tag : tags) {
        if (tag.token.offset < removed_until)
            continue;
        if (tag.fault == TagFault::quote_removed && tag.partner != NO_TAG) {
            const TagToken& close = tags[tag.partner].token;
            removed_until = close.offset + close.length;
            continue;
        }
        if (!tag.markup || tag.token.closing)
            continue;
        const std::string_view name = tag.token.id == ForumTagId::li ? "*" : forum_tag(tag.token.id).name;
        names.append(names.empty() ? "" : ",").append(name);
    }
    return names.empty() ? "-" : names;
}

std::map<std::string, std::string> product_row(std::string_view post, const ForumProfile& profile)
{
    const std::vector<MatchedTag> tags = match_tags(post, profile);
    const PostVerdict verdict = judge_post(post, tags, profile, profile.default_limit);
    size_t removed = 0;
    for (const MatchedTag& tag : tags)
        removed += tag.fault == TagFault::quote_removed ? 1 : 0;
    return {
        {"length", std::to_string(verdict.length)},
        {"verdict", refusal_name(verdict.refusal)},
        {"pictures", std::to_string(forum_pictures(post, tags, profile).size())},
        {"quotes_removed", std::to_string(removed)},
        {"markup", markup_names(tags)},
    };
}

const char* const COLUMNS[] = {"length", "verdict", "pictures", "quotes_removed", "markup"};

TEST(ForumVerdicts, EveryRowAgreesWithTheForumsOwnCodeOrIsANamedException)
{
    const std::map<std::string, std::string> posts = read_judged_posts();
    const std::map<ExceptionKey, std::string> exceptions = read_verdict_exceptions();
    std::set<ExceptionKey> used;
    size_t rows = 0;
    size_t agreeing = 0;
    for (const ForumVerdictRow& row : read_verdict_rows()) {
        const auto post = posts.find(row.post);
        ASSERT_NE(post, posts.end()) << "no post named " << row.post;
        const std::map<std::string, std::string> ours = product_row(post->second, forum_profile(row.forum));
        ++rows;
        bool agrees = true;
        for (const char* column : COLUMNS) {
            std::string theirs = row.values.at(column);
            std::string mine = ours.at(column);
            // A refused post shows nothing: what it would have shown is no row's to judge.
            if (row.values.at("verdict") != "taken" && (std::string(column) == "pictures" || std::string(column) == "markup"))
                theirs = mine = "-";
            const ExceptionKey key{row.post, row.forum_name, column};
            const bool excepted = exceptions.count(key) != 0;
            if (excepted)
                used.insert(key);
            if (theirs == mine) {
                EXPECT_FALSE(excepted) << row.post << " (" << row.forum_name << "): " << column
                                       << " now agrees; remove its exception";
                continue;
            }
            agrees = false;
            EXPECT_TRUE(excepted) << row.post << " (" << row.forum_name << "): " << column << " is " << theirs
                                  << " by the forum's code, " << mine << " by the profile";
        }
        agreeing += agrees ? 1 : 0;
    }
    for (const auto& [key, why] : exceptions)
        EXPECT_TRUE(used.count(key)) << "exception for a row that is not in the table: " << key.post << " " << key.forum
                                     << " " << key.column;
    EXPECT_GE(rows, 900u);
    std::cout << agreeing << " of " << rows << " rows agree in every column\n";
}

} // namespace
