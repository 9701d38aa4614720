// Differential fuzzer: the post link text must give exactly the outcome and
// the replacement that the step-by-step reference gives.
#include "text/commands/post_link_text.h"
#include "text_oracles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string selection(reinterpret_cast<const char*>(data), size);
    const PostLinkResult result = post_link_text(selection, "[url]", "[/url]");
    const oracle::PostLink expected = oracle::convert_post_link(selection, "[url]", "[/url]");
    const bool message_ok = oracle::message_number(result.outcome) == expected.message;
    if (!message_ok || result.replacement != expected.buf) {
        std::fprintf(stderr, "post link differs from the reference for %zu bytes of input\n", size);
        std::abort();
    }
    return 0;
}
