// Differential fuzzer: the linear reflow must give exactly what the
// step-by-step reference gives.
#include "markup/reflow_text.h"
#include "text_oracles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string selection(reinterpret_cast<const char*>(data), size);
    const std::string result = reflow_for_forum(selection);
    const std::string expected = oracle::break_long_lines(selection);
    if (result != expected || result.size() > selection.size()) {
        std::fprintf(stderr, "reflow differs from the reference for %zu bytes of input\n", size);
        std::abort();
    }
    return 0;
}
