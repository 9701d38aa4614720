#include "text/unicode/unicode_normalization.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <utf8proc.h>

#include "text/unicode/code_points.h"

namespace {

constexpr utf8proc_option_t NFC = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE);

// Below the combining diacritical marks every character is a starter that
// composes with nothing before it and stays as it is.
constexpr char32_t FIRST_MARK = 0x300;

bool is_hangul_jamo(char32_t c)
{
    return c >= 0x1100 && c <= 0x11FF;
}

// A character that NFC never joins to what stands before it and never
// changes: text on either side of it normalises on its own. Hangul jamo
// compose by rule, not by the table, so they are never taken for one.
} // namespace

bool is_nfc_stable(char32_t c)
{
    if (c < FIRST_MARK)
        return true;
    if (is_hangul_jamo(c) || c > 0x10FFFF || is_surrogate(c))
        return false;
    const utf8proc_property_t* property = utf8proc_get_property(static_cast<utf8proc_int32_t>(c));
    const bool composes_as_second = property->comb_index != UINT16_MAX && property->comb_index >= 0x8000;
    const bool canonical_decomposition = property->decomp_seqindex != UINT16_MAX && property->decomp_type == 0;
    return property->combining_class == 0 && !composes_as_second && !canonical_decomposition;
}

namespace {

bool is_stable_boundary(char32_t c)
{
    return is_nfc_stable(c);
}

// Characters of the stretch after NFC; -1 when it is not well-formed UTF-8.
std::ptrdiff_t nfc_code_points(std::string_view stretch, std::vector<utf8proc_int32_t>& buffer)
{
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(stretch.data());
    const auto size = static_cast<utf8proc_ssize_t>(stretch.size());
    utf8proc_ssize_t decomposed = utf8proc_decompose(bytes, size, buffer.data(),
                                                     static_cast<utf8proc_ssize_t>(buffer.size()), NFC);
    if (decomposed > static_cast<utf8proc_ssize_t>(buffer.size())) {
        buffer.resize(static_cast<size_t>(decomposed));
        decomposed = utf8proc_decompose(bytes, size, buffer.data(), decomposed, NFC);
    }
    if (decomposed < 0)
        return -1;
    return utf8proc_normalize_utf32(buffer.data(), decomposed, NFC);
}

size_t code_points_of(std::string_view stretch)
{
    size_t count = 0;
    for (size_t at = 0; at < stretch.size(); ++count)
        at += decode_code_point(stretch, at).length;
    return count;
}

struct FreeDeleter {
    void operator()(utf8proc_uint8_t* bytes) const { std::free(bytes); }
};

} // namespace

size_t nfc_shrinkage(std::string_view stretch)
{
    thread_local std::vector<utf8proc_int32_t> buffer(64);
    const std::ptrdiff_t composed = nfc_code_points(stretch, buffer);
    if (composed < 0)
        return 0;
    return code_points_of(stretch) - static_cast<size_t>(composed);
}

std::string to_nfc(std::string_view text)
{
    bool all_stable = true;
    for (size_t at = 0; at < text.size() && all_stable;) {
        const CodePoint c = decode_code_point(text, at);
        all_stable = is_stable_boundary(c.value);
        at += c.length;
    }
    if (all_stable)
        return std::string(text);
    utf8proc_uint8_t* mapped = nullptr;
    const utf8proc_ssize_t length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                                 static_cast<utf8proc_ssize_t>(text.size()), &mapped, NFC);
    const std::unique_ptr<utf8proc_uint8_t, FreeDeleter> owner(mapped);
    if (length < 0)
        return std::string(text);
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<size_t>(length));
}

size_t nfc_length(std::string_view text)
{
    size_t characters = 0;
    size_t shrinkage = 0;
    // Each stretch runs from one stable character to the next; most are one
    // character long and need no normalising.
    size_t stretch_start = 0;
    size_t stretch_characters = 0;
    for (size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        // ASCII, most of a post, needs no decoding.
        const CodePoint c = byte < 0x80 ? CodePoint{byte, 1} : decode_code_point(text, at);
        if (is_nfc_stable(c.value)) {
            if (stretch_characters > 1)
                shrinkage += nfc_shrinkage(text.substr(stretch_start, at - stretch_start));
            stretch_start = at;
            stretch_characters = 0;
        }
        ++stretch_characters;
        ++characters;
        at += c.length;
    }
    if (stretch_characters > 1)
        shrinkage += nfc_shrinkage(text.substr(stretch_start));
    return characters - shrinkage;
}

bool is_joining_mark(char32_t c)
{
    if (c < FIRST_MARK)
        return false;
    if (c == 0x200C || c == 0x200D)
        return true;
    if (c > 0x10FFFF)
        return false;
    const utf8proc_category_t category = utf8proc_category(static_cast<utf8proc_int32_t>(c));
    return category == UTF8PROC_CATEGORY_MN || category == UTF8PROC_CATEGORY_MC || category == UTF8PROC_CATEGORY_ME;
}
