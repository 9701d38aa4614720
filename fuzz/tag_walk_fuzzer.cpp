// Differential fuzzer: the counts, the pictures and the preview read the post
// through one walk over its matched tags, and must give byte for byte what
// their own loops gave before. The walk must also hand out every byte of the
// post once, in order.
#include "text/forum/post_counts.h"
#include "text/forum/tag_check.h"
#include "text/forum/tag_walk.h"
#include "text/preview/preview_rtf.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const PreviewOptions& options()
{
    static const PreviewOptions with_pictures = [] {
        PreviewOptions options;
        options.labels = {"Citace:", "%1 napsal(a):", "Kód:", "[obrázek: %1]"};
        options.pictures["x"] = "{\\pict\\pngblip 00}";
        return options;
    }();
    return with_pictures;
}

// Every forum's profile, and one that removes quotes and counts smileys too.
std::vector<ForumProfile> profiles()
{
    std::vector<ForumProfile> all;
    for (size_t id = 0; id < FORUM_PROFILE_COUNT; ++id)
        all.push_back(forum_profile(static_cast<ForumProfileId>(id)));
    ForumProfile both = forum_profile(ForumProfileId::phpbb);
    both.smiley_codes = forum_profile(ForumProfileId::mybb).smiley_codes;
    both.picture_limit = 2;
    all.push_back(both);
    return all;
}

// The post put together again from what the walk hands out.
class Reassembly : public TagVisitor {
public:
    explicit Reassembly(std::string_view post) : post_(post) {}
    void text(std::string_view text, size_t offset, const TagToken*) override { piece(text, offset); }
    void open(const TagToken& tag) override { piece(post_.substr(tag.offset, tag.length), tag.offset); }
    void close(const TagToken& tag) override { piece(post_.substr(tag.offset, tag.length), tag.offset); }
    void literal(const TagToken&, std::string_view text, size_t offset) override { piece(text, offset); }
    void removed_quote(const TagToken& open, const TagToken& close) override
    {
        piece(post_.substr(open.offset, close.offset + close.length - open.offset), open.offset);
    }

    bool whole() const { return in_order_ && joined_ == post_; }

private:
    void piece(std::string_view text, size_t offset)
    {
        in_order_ = in_order_ && offset == joined_.size() && text.data() == post_.data() + offset;
        joined_ += text;
    }

    std::string_view post_;
    std::string joined_;
    bool in_order_ = true;
};

bool same_pictures(const std::vector<PicturePlace>& a, const std::vector<PicturePlace>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PicturePlace& x, const PicturePlace& y) {
        return x.offset == y.offset && x.length == y.length;
    });
}

[[noreturn]] void differs(const char* what, size_t profile, size_t size)
{
    std::fprintf(stderr, "%s differs for profile %zu, %zu bytes of input\n", what, profile, size);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<ForumProfile> all = profiles();
    const std::string post(reinterpret_cast<const char*>(data), size);
    for (size_t p = 0; p < all.size(); ++p) {
        const ForumProfile& profile = all[p];
        const std::vector<MatchedTag> tags = match_tags(post, profile);

        Reassembly reassembly(post);
        walk_tags(post, tags, reassembly);
        if (!reassembly.whole())
            differs("the walk's pieces", p, size);

        const PostCounts counts = count_post(post, tags, profile);
        const PostCounts before = count_post_before_walk(post, profile);
        if (counts.length != before.length || counts.characters_without_tags != before.characters_without_tags ||
            counts.words != before.words)
            differs("counts", p, size);

        // The old picture count went on inside a removed quote; a forum that
        // limits pictures keeps every quote, so only that case may differ.
        const bool quote_removed = std::any_of(tags.begin(), tags.end(), [](const MatchedTag& tag) {
            return tag.fault == TagFault::quote_removed;
        });
        if (!quote_removed && !same_pictures(forum_pictures(post, tags, profile),
                                             forum_pictures_before_walk(post, tags, profile)))
            differs("pictures", p, size);

        if (render_preview_rtf(post, options(), profile) != render_preview_rtf_before_walk(post, options(), profile))
            differs("preview", p, size);
        const PreviewParagraphs paragraphs = render_preview_paragraphs(post, tags, options(), profile);
        const PreviewParagraphs paragraphs_before = render_preview_paragraphs_before_walk(post, options(), profile);
        if (paragraphs.head != paragraphs_before.head || paragraphs.paragraphs != paragraphs_before.paragraphs)
            differs("preview paragraphs", p, size);
    }
    return 0;
}
