#include "text/rtf/rtf_picture.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr size_t INFO_HEADER_SIZE = 40; // BITMAPINFOHEADER
constexpr int TWIPS_PER_PIXEL = 15;     // at 96 pixels an inch
constexpr size_t HEX_LINE = 128;        // hex digits on a line of the group

// A little-endian 32-bit field of the header.
int32_t field_at(std::string_view bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<std::string> dib_picture_rtf(std::string_view packed_dib)
{
    if (packed_dib.size() < INFO_HEADER_SIZE)
        return std::nullopt;
    const int32_t header_size = field_at(packed_dib, 0);
    const int32_t width = field_at(packed_dib, 4);
    // Negative for a bitmap stored top row first.
    const int32_t height = field_at(packed_dib, 8);
    if (header_size < static_cast<int32_t>(INFO_HEADER_SIZE) || static_cast<size_t>(header_size) > packed_dib.size() ||
        width <= 0 || width > 0xFFFF || height == 0 || height < -0xFFFF || height > 0xFFFF)
        return std::nullopt;
    const int rows = std::abs(height);

    std::string group = "{\\pict\\dibitmap0\\picw" + std::to_string(width) + "\\pich" + std::to_string(rows) +
                        "\\picwgoal" + std::to_string(width * TWIPS_PER_PIXEL) + "\\pichgoal" +
                        std::to_string(rows * TWIPS_PER_PIXEL);
    group.reserve(group.size() + packed_dib.size() * 2 + packed_dib.size() / (HEX_LINE / 2) + 4);
    constexpr char digits[] = "0123456789abcdef";
    for (size_t at = 0; at < packed_dib.size(); ++at) {
        if (at % (HEX_LINE / 2) == 0)
            group += '\n';
        const auto byte = static_cast<unsigned char>(packed_dib[at]);
        group += digits[byte >> 4];
        group += digits[byte & 0xF];
    }
    return group + "}";
}
