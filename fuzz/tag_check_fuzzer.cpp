// Differential fuzzer: the linear tag check must find the same first problem
// as the plain quadratic reference, and the counts must stay in order. The
// walk over the matched tags must hand out every byte of the post once, in
// order, for every forum.
#include "text/forum/post_counts.h"
#include "text/forum/tag_check.h"
#include "text/forum/tag_walk.h"
#include "tag_oracles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

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

bool walks_whole(std::string_view post, const ForumProfile& profile)
{
    Reassembly reassembly(post);
    walk_tags(post, match_tags(post, profile), reassembly);
    return reassembly.whole();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string post(reinterpret_cast<const char*>(data), size);
    const TagProblem problem = check_tags(post);
    const TagProblem expected = oracle::check_tags(post);
    const bool same = problem == expected;
    const bool selectable = problem.kind == TagProblemKind::none ||
                            (problem.offset + problem.length <= size && post[problem.offset] == '[' &&
                             post[problem.offset + problem.length - 1] == ']');
    if (!same || !selectable) {
        std::fprintf(stderr, "tag check differs from the reference for %zu bytes of input\n", size);
        std::abort();
    }
    const PostCounts counts = count_post(post);
    if (counts.length > size || counts.characters_without_tags > counts.length ||
        counts.words > counts.characters_without_tags) {
        std::fprintf(stderr, "counts out of order for %zu bytes of input\n", size);
        std::abort();
    }
    if (!walks_whole(post, editor_profile())) {
        std::fprintf(stderr, "the walk loses or repeats a piece of %zu bytes of input\n", size);
        std::abort();
    }
    // Each forum's check names a place in the post, its counts hold, and
    // its walk covers the post.
    for (size_t id = 1; id < FORUM_PROFILE_COUNT; ++id) {
        const ForumProfile& profile = forum_profile(static_cast<ForumProfileId>(id));
        const TagProblem found = check_tags(post, profile);
        const PostCounts forum_counts = count_post(post, profile);
        if (found.offset + found.length > size || forum_counts.words > forum_counts.characters_without_tags ||
            !walks_whole(post, profile)) {
            std::fprintf(stderr, "profile %zu out of bounds for %zu bytes of input\n", id, size);
            std::abort();
        }
    }
    return 0;
}
