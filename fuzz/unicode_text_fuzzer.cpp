// Property fuzzer of the UTF-8 and UTF-16 conversions: the input read as
// UTF-16 (lone surrogates and all) must come back exactly through UTF-8, and
// the input's bytes as they are, however invalid, must convert, count and
// step consistently.
#include "text/unicode/unicode_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "unicode text: %s\n", what);
        std::abort();
    }
}

bool is_lead(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_trail(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool splits_pair(std::u16string_view units, size_t k)
{
    return k > 0 && k < units.size() && is_lead(units[k - 1]) && is_trail(units[k]);
}

size_t code_points(std::u16string_view units)
{
    size_t pairs = 0;
    for (size_t k = 1; k < units.size(); ++k)
        pairs += splits_pair(units, k);
    return units.size() - pairs;
}

void check_utf16(const uint8_t* data, size_t size)
{
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string utf8 = utf16_to_utf8(units);
    check(utf8_to_utf16(utf8) == units, "UTF-16 does not round-trip");
    check(utf16_length(utf8) == units.size(), "UTF-16 length");
    check(count_code_points(utf8) == code_points(units), "code point count");
    check(is_valid_utf8(to_strict_utf8(utf8)), "strict UTF-8 is not valid");

    // A position the control might give, and one past the end.
    const size_t k = size > 0 ? data[0] % (units.size() + 1) : 0;
    const size_t at = utf8_offset_of_utf16(utf8, k);
    check(utf16_length(utf8.substr(0, at)) == (splits_pair(units, k) ? k - 1 : k), "UTF-16 offset");
    check(utf8_offset_of_utf16(utf8, units.size() + 1) == utf8.size(), "offset beyond the end");
}

void check_bytes(const std::string& bytes)
{
    const std::u16string units = utf8_to_utf16(bytes);
    check(utf16_length(bytes) == units.size(), "UTF-16 length of any bytes");
    check(count_code_points(bytes) == code_points(units), "code point count of any bytes");

    size_t replacements = 0;
    const std::string repaired = repair_utf8(bytes, replacements);
    check(is_valid_utf8(repaired), "repaired UTF-8 is not valid");
    check(is_valid_utf8(to_strict_utf8(bytes)), "strict UTF-8 of any bytes is not valid");
    check((replacements == 0) == is_valid_utf8(bytes), "repair and validity disagree");
    if (replacements == 0) {
        check(repaired == bytes, "repair changed valid UTF-8");
        check(utf16_to_utf8(units) == bytes, "valid UTF-8 does not round-trip");
    }

    // Forwards and backwards the characters start at the same bytes.
    std::vector<size_t> starts;
    for (size_t at = 0; at < bytes.size(); at = next_character(bytes, at))
        starts.push_back(at);
    check(starts.size() == count_code_points(bytes), "steps and count disagree");
    size_t at = bytes.size();
    for (size_t i = starts.size(); i-- > 0;) {
        at = previous_character(bytes, at);
        check(at == starts[i], "backward step");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    check_utf16(data, size);
    check_bytes(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
