// Decoding PNG and JPEG through stb_image beside BMP: exact pixels, sizes refused before decoding, damage refused.
#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "scene/render/picture_codec.h"
#include "scene/render/surface.h"

namespace kolvane {
namespace {

void append(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// A picture whose every pixel differs: red from x, green from y, blue from both.
std::vector<std::uint8_t> pattern_rgb(int width, int height) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x * 7));
            rgb.push_back(static_cast<std::uint8_t>(y * 5));
            rgb.push_back(static_cast<std::uint8_t>((x + y) * 3));
        }
    return rgb;
}

std::uint32_t pattern_at(int x, int y) {
    return (static_cast<std::uint32_t>((x * 7) & 0xFF) << 16) | (static_cast<std::uint32_t>((y * 5) & 0xFF) << 8) |
           static_cast<std::uint32_t>(((x + y) * 3) & 0xFF);
}

std::vector<std::uint8_t> png_of(int width, int height) {
    const auto rgb = pattern_rgb(width, height);
    std::vector<std::uint8_t> out;
    EXPECT_NE(stbi_write_png_to_func(append, &out, width, height, 3, rgb.data(), width * 3), 0);
    return out;
}

// A flat grey JPEG: the one colour survives compression within a step or two.
std::vector<std::uint8_t> jpeg_of(int width, int height, std::uint8_t level) {
    const std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, level);
    std::vector<std::uint8_t> out;
    EXPECT_NE(stbi_write_jpg_to_func(append, &out, width, height, 3, rgb.data(), 90), 0);
    return out;
}

// A PNG signature and header chunk claiming the given size, with no pixels after it.
std::vector<std::uint8_t> png_header(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> d = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (const std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) d.push_back(static_cast<std::uint8_t>(v >> shift));
    d.insert(d.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});  // 8-bit RGB, then a CRC
    return d;
}

TEST(PictureCodec, PngDecodesToTheExactPixelsAndIntoASurface) {
    const auto png = png_of(37, 23);
    EXPECT_EQ(picture_format(png), PictureFormat::png);
    const auto size = picture_size(png);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 37);
    EXPECT_EQ(size->height, 23);
    const auto image = decode_picture(png);
    ASSERT_TRUE(image);
    Surface surface(2, 2);
    ASSERT_TRUE(decode_picture_into(surface, png));
    ASSERT_EQ(surface.width(), 37);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(image->at(x, y), pattern_at(x, y)) << x << ", " << y;
            ASSERT_EQ(surface.at(x, y), pattern_at(x, y)) << x << ", " << y;
        }
}

TEST(PictureCodec, JpegDecodesCloseToItsColour) {
    const auto jpeg = jpeg_of(64, 48, 0x80);
    EXPECT_EQ(picture_format(jpeg), PictureFormat::jpeg);
    const auto image = decode_picture(jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->height, 48);
    for (const std::uint32_t p : image->pixels)
        for (int shift : {0, 8, 16}) EXPECT_NEAR(static_cast<int>((p >> shift) & 0xFFu), 0x80, 2);
}

TEST(PictureCodec, BmpStillDecodesThroughOurOwnReader) {
    Image picture(5, 3, 0x336699u);
    const auto bmp = encode_bmp(picture);
    EXPECT_EQ(picture_format(bmp), PictureFormat::bmp);
    const auto image = decode_picture(bmp);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, picture.pixels);
}

// A header claiming a picture beyond the bounds is refused before any pixel is decoded (the data
// holds none), whether one side is too long or the area too large.
TEST(PictureCodec, SizesBeyondTheBoundsAreRefusedFromTheHeader) {
    EXPECT_TRUE(picture_size(png_header(1440, 1212)).has_value());
    for (const auto& [w, h] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {8193, 10}, {10, 8193}, {5000, 5000}, {0x7FFFFFFF, 1}, {0, 10}}) {
        const auto header = png_header(w, h);
        EXPECT_FALSE(picture_size(header).has_value()) << w << "x" << h;
        EXPECT_FALSE(decode_picture(header).has_value()) << w << "x" << h;
    }
}

TEST(PictureCodec, DamagedOrForeignDataIsRefusedAndLeavesTheSurfaceAlone) {
    auto png = png_of(20, 20);
    auto jpeg = jpeg_of(20, 20, 0x40);
    std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0},
        std::vector<std::uint8_t>(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2)),
        std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 20),
        png_header(16, 16),
    };
    for (const auto& data : bad) {
        Surface surface(3, 2, 0x123456u);
        EXPECT_FALSE(decode_picture(data).has_value()) << data.size();
        EXPECT_FALSE(decode_picture_into(surface, data)) << data.size();
        EXPECT_EQ(surface.width(), 3);
        EXPECT_EQ(surface.at(2, 1), 0x123456u);
    }
}

}  // namespace
}  // namespace kolvane
