// Pasted HTML, whatever it holds, becomes sound markup: every tag the
// converter writes stands where it says and nests soundly, whatever
// brackets the text itself brings; and nothing crashes.
#include "text/paste/cf_html.h"
#include "text/paste/html_markup.h"
#include "text/forum/tag_check.h"
#include "text/unicode/unicode_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, size_t size)
{
    std::fprintf(stderr, "%s, for %zu bytes of input\n", what, size);
    std::abort();
}

// The markup with every bracket that no written tag owns made a
// parenthesis: the tags left must be all the check sees, and sound.
std::string only_written_tags(const PastedMarkup& markup, size_t size)
{
    std::u16string units = utf8_to_utf16(markup.text);
    std::vector<bool> owned(units.size(), false);
    const auto own = [&](size_t at, char16_t bracket) {
        if (at >= units.size() || units[at] != bracket)
            fail("a written tag is not where it says", size);
        owned[at] = true;
    };
    for (const WrittenTag& tag : markup.tags) {
        if (tag.begin >= tag.end || tag.end > units.size())
            fail("a written tag lies outside the markup", size);
        own(tag.begin, u'[');
        const size_t open_end = units.find(u']', tag.begin);
        own(open_end, u']');
        if (tag.tag == ForumTagId::hr || tag.tag == ForumTagId::item)
            continue;
        const size_t close_length = forum_tag(tag.tag).name.size() + 3;
        own(tag.end - close_length, u'[');
        own(tag.end - 1, u']');
    }
    for (size_t i = 0; i < units.size(); ++i) {
        if (owned[i])
            continue;
        if (units[i] == u'[')
            units[i] = u'(';
        else if (units[i] == u']')
            units[i] = u')';
    }
    return utf16_to_utf8(units);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the options and how the rest is read.
    const uint8_t choice = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    PasteOptions options;
    options.colors_and_sizes = (choice & 1) != 0;
    // The forum the post is for: its sizes, its depth and the tags it knows.
    const ForumProfile& forum = forum_profile(static_cast<ForumProfileId>((choice >> 1) % FORUM_PROFILE_COUNT));
    options.forum = &forum;
    for (std::size_t tag = 0; tag < FORUM_TAG_COUNT; ++tag)
        options.tags.set(tag, knows_tag(forum, static_cast<ForumTagId>(tag)));
    if (choice & 8)
        options.tags &= std::bitset<FORUM_TAG_COUNT>(static_cast<unsigned long>(choice) * 2654435761u);
    std::string_view html = rest;
    std::string_view page;
    if (choice & 16) {
        const auto clipboard = read_clipboard_html(rest);
        if (!clipboard)
            return 0;
        html = clipboard->fragment;
        page = clipboard->source_url;
    }
    const HtmlConversion conversion = html_to_markup(html, page, options);
    if (conversion.refusal != PasteRefusal::none)
        return 0;
    const std::string checked = only_written_tags(conversion.markup, size);
    // What the forum would say of the post's quotes or pictures is no
    // fault of the markup; every other problem is.
    const TagProblemKind problem = check_tags(checked, forum).kind;
    if (problem != TagProblemKind::none && problem != TagProblemKind::quote_removed &&
        problem != TagProblemKind::too_many_pictures)
        fail("the written tags are not sound", size);
    for (const WrittenTag& tag : conversion.markup.tags)
        if (!options.allows(tag.tag))
            fail("a tag the options do not allow was written", size);
    return 0;
}
