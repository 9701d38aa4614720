#include "text/rtf/rtf_picture.h"

#include <gtest/gtest.h>

namespace {

// The header of a 24-bit bitmap of this size, then its pixel bytes.
std::string bitmap(int32_t width, int32_t height, std::string pixels)
{
    std::string dib(40, '\0');
    const auto put = [&](size_t offset, int32_t value) {
        for (size_t i = 0; i < 4; ++i)
            dib[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    };
    put(0, 40);
    put(4, width);
    put(8, height);
    dib[12] = 1;  // planes
    dib[14] = 24; // bits per pixel
    return dib + pixels;
}

TEST(RtfPicture, ABitmapAtItsOwnSizeInHexLines)
{
    // Nine pixels of one row, stored top row first: 27 bytes and a byte of padding.
    const std::string dib = bitmap(9, -1, std::string(27, '\x11') + '\0');
    EXPECT_EQ(dib_picture_rtf(dib), "{\\pict\\dibitmap0\\picw9\\pich1\\picwgoal135\\pichgoal15\n"
                                    "2800000009000000ffffffff01001800" + std::string(48, '0') +
                                        std::string(48, '1') + "\n" + std::string(6, '1') + "00}");
}

TEST(RtfPicture, NothingButABitmapHeader)
{
    EXPECT_EQ(dib_picture_rtf(""), std::nullopt);
    EXPECT_EQ(dib_picture_rtf(bitmap(2, 2, "").substr(0, 39)), std::nullopt);
    EXPECT_EQ(dib_picture_rtf(bitmap(0, 2, "")), std::nullopt);
    EXPECT_EQ(dib_picture_rtf(bitmap(2, 0, "")), std::nullopt);
    std::string too_long_header = bitmap(2, 2, "");
    too_long_header[0] = 41;
    EXPECT_EQ(dib_picture_rtf(too_long_header), std::nullopt);
}

} // namespace
