// Differential fuzzer: the linear reflow must give exactly what the
// step-by-step reference gives, on the input's bytes as they are and on
// the UTF-8 of the input read as UTF-16 (lone surrogates and all).
#include "text/commands/reflow_text.h"
#include "text/unicode/unicode_text.h"
#include "text_oracles.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void fail(const char* what, size_t size)
{
    std::fprintf(stderr, "reflow %s for %zu bytes of input\n", what, size);
    std::abort();
}

void check_against_reference(const std::string& selection)
{
    const std::string result = reflow_for_forum(selection);
    if (result != oracle::break_long_lines(selection) || result.size() > selection.size())
        fail("differs from the reference", selection.size());
}

std::u16string as_utf16(const uint8_t* data, size_t size)
{
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    return units;
}

size_t replacement_characters(std::u16string_view units)
{
    return static_cast<size_t>(std::count(units.begin(), units.end(), u'\uFFFD'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    check_against_reference(std::string(reinterpret_cast<const char*>(data), size));

    // Text from the control: whatever the reflow does, no character may come
    // apart into bytes that no longer read as one.
    const std::u16string units = as_utf16(data, size);
    const std::string selection = utf16_to_utf8(units);
    check_against_reference(selection);
    if (replacement_characters(utf8_to_utf16(reflow_for_forum(selection))) > replacement_characters(units))
        fail("split a character", size);
    return 0;
}
