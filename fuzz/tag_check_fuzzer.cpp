// Differential fuzzer: the linear tag check must find the same first problem
// as the plain quadratic reference, and the counts must stay in order.
#include "text/forum/post_counts.h"
#include "text/forum/tag_check.h"
#include "tag_oracles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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
    // Each forum's check names a place in the post, and its counts hold.
    for (size_t id = 1; id < FORUM_PROFILE_COUNT; ++id) {
        const ForumProfile& profile = forum_profile(static_cast<ForumProfileId>(id));
        const TagProblem found = check_tags(post, profile);
        const PostCounts forum_counts = count_post(post, profile);
        if (found.offset + found.length > size || forum_counts.words > forum_counts.characters_without_tags) {
            std::fprintf(stderr, "profile %zu out of bounds for %zu bytes of input\n", id, size);
            std::abort();
        }
    }
    return 0;
}
