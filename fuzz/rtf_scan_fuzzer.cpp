// Differential fuzzer: scan_rtf must agree with the token-by-token reference
// in every field, keep its offset and depth in range, and read nothing after
// the end of the document. (Its linear time is measured in bench/.)
#include "text/rtf/rtf_prescan.h"
#include "rtf_reference.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void fail(const char* what, size_t size)
{
    std::fprintf(stderr, "scan_rtf %s, for %zu bytes of input\n", what, size);
    std::abort();
}

bool same(const RtfScan& a, const RtfScan& b)
{
    return a.verdict == b.verdict && a.offset == b.offset && a.depth == b.depth &&
           a.has_pictures_or_objects == b.has_pictures_or_objects;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const RtfScan scan = scan_rtf(bytes);
    if (!same(scan, reference::scan_rtf(bytes)))
        fail("differs from the reference", size);
    if (scan.offset > size || scan.depth < 0 || scan.depth > MAX_GROUP_DEPTH + 1)
        fail("gives an offset or depth out of range", size);
    if (scan.verdict == RtfVerdict::ok && !same(scan_rtf(bytes.substr(0, scan.offset)), scan))
        fail("depends on bytes after the end of the document", size);
    return 0;
}
