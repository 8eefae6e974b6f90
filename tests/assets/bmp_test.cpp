// The engine's BMP reader and writer: formats, row order, padding and damaged input.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "scene/render/bmp.h"

namespace {

kolvane::Image sample(int w, int h, int colours) {
    kolvane::Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t k = static_cast<std::uint32_t>((x * 7 + y * 13) % colours);
            img.at(x, y) = colours == 2 ? (k != 0 ? 0xFFFFFFu : 0u) : (k * 0x010203u) & 0xFFFFFFu;
        }
    return img;
}

void put32(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

TEST(Bmp, RoundTripKeepsPixelsForOddWidths) {
    for (int w : {1, 2, 3, 5, 7, 9, 31, 33}) {
        const kolvane::Image a = sample(w, 4, 200);
        const auto b = kolvane::decode_bmp(kolvane::encode_bmp(a));
        ASSERT_TRUE(b.has_value());
        EXPECT_EQ(b->pixels, a.pixels) << w;
        const auto c = kolvane::decode_bmp(kolvane::encode_bmp(a, kolvane::BmpFormat::indexed8));
        ASSERT_TRUE(c.has_value());
        EXPECT_EQ(c->pixels, a.pixels) << w;
        const kolvane::Image m = sample(w, 3, 2);
        const auto d = kolvane::decode_bmp(kolvane::encode_bmp(m, kolvane::BmpFormat::indexed1));
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->pixels, m.pixels) << w;
    }
}

TEST(Bmp, HeaderFieldsOfAWrittenFile) {
    const std::vector<std::uint8_t> d = kolvane::encode_bmp(sample(3, 2, 100));
    ASSERT_EQ(d.size(), 14u + 40u + 2u * 12u);  // rows of 9 bytes padded to 12
    EXPECT_EQ(d[0], 'B');
    EXPECT_EQ(d[1], 'M');
    EXPECT_EQ(d[28], 24);
    const std::vector<std::uint8_t> mono = kolvane::encode_bmp(sample(9, 1, 2), kolvane::BmpFormat::indexed1);
    EXPECT_EQ(mono[28], 1);
    // Black is palette entry 0, so a 0 bit is black as the raster operations expect.
    EXPECT_EQ(mono[54] | mono[55] | mono[56], 0);
}

TEST(Bmp, TooManyColoursForAPaletteGiveNothing) {
    EXPECT_TRUE(kolvane::encode_bmp(sample(40, 40, 300), kolvane::BmpFormat::indexed8).empty());
    EXPECT_TRUE(kolvane::encode_bmp(sample(4, 4, 3), kolvane::BmpFormat::indexed1).empty());
    EXPECT_TRUE(kolvane::encode_bmp(kolvane::Image{}).empty());
}

TEST(Bmp, ReadsTopDownAnd32BitPictures) {
    const kolvane::Image a = sample(5, 3, 250);
    std::vector<std::uint8_t> d = kolvane::encode_bmp(a);
    // Rewrite as a 32-bit top-down picture.
    std::vector<std::uint8_t> t(d.begin(), d.begin() + 54);
    put32(t, 22, static_cast<std::uint32_t>(-3));
    t[28] = 32;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const std::uint32_t p = a.at(x, y);
            t.insert(t.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p >> 16), 0xFF});
        }
    put32(t, 2, static_cast<std::uint32_t>(t.size()));
    const auto b = kolvane::decode_bmp(t);
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->pixels, a.pixels);
}

// A 2 x 1 picture of 16 bits per pixel with its own channel masks (BI_BITFIELDS).
std::vector<std::uint8_t> bitfields_picture(std::uint32_t red_mask) {
    std::vector<std::uint8_t> d(14 + 40 + 12 + 4, 0);
    d[0] = 'B';
    d[1] = 'M';
    put32(d, 2, static_cast<std::uint32_t>(d.size()));
    put32(d, 10, 14 + 40 + 12);
    put32(d, 14, 40);
    put32(d, 18, 2);
    put32(d, 22, 1);
    d[26] = 1;
    d[28] = 16;
    put32(d, 30, 3);
    put32(d, 54, red_mask);
    put32(d, 58, 0x07E0u);
    put32(d, 62, 0x001Fu);
    d[66] = 0x00;  // pure red in 5-6-5, then white
    d[67] = 0xF8;
    d[68] = 0xFF;
    d[69] = 0xFF;
    return d;
}

TEST(Bmp, ReadsChannelMasksAndRefusesMasksOfSeveralRuns) {
    const auto good = kolvane::decode_bmp(bitfields_picture(0xF800u));
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(good->pixels, (std::vector<std::uint32_t>{0xFF0000u, 0xFFFFFFu}));
    // Bits of red on both sides of green would read values above 255 into the other channels.
    EXPECT_FALSE(kolvane::decode_bmp(bitfields_picture(0xF81Fu)).has_value());
}

TEST(Bmp, DamagedInputGivesNothing) {
    std::vector<std::uint8_t> d = kolvane::encode_bmp(sample(8, 8, 50), kolvane::BmpFormat::indexed8);
    EXPECT_FALSE(kolvane::decode_bmp(std::vector<std::uint8_t>(d.begin(), d.end() - 10)).has_value());
    EXPECT_FALSE(kolvane::decode_bmp(std::vector<std::uint8_t>(d.begin(), d.begin() + 20)).has_value());
    std::vector<std::uint8_t> bad = d;
    bad[0] = 'X';
    EXPECT_FALSE(kolvane::decode_bmp(bad).has_value());
    bad = d;
    put32(bad, 30, 1);  // RLE8 is not read
    EXPECT_FALSE(kolvane::decode_bmp(bad).has_value());
    bad = d;
    put32(bad, 46, 100000);  // absurd palette size
    EXPECT_FALSE(kolvane::decode_bmp(bad).has_value());
    EXPECT_FALSE(kolvane::read_bmp("/nonexistent/kolvane.bmp").has_value());
}

TEST(Bmp, ReadsOnlyPlainFilesUpToTheLimit) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("kolvane-bmp-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(dir);
    const std::vector<std::uint8_t> d = kolvane::encode_bmp(sample(9, 5, 200));
    const auto write = [&](const fs::path& path, std::uintmax_t size) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(d.data()), static_cast<std::streamsize>(d.size()));
        fs::resize_file(path, size);  // padded with zeros after the pixels, sparse where the system allows
    };
    write(dir / "padded.bmp", d.size() + 4096);
    write(dir / "huge.bmp", kolvane::max_bmp_file_bytes + 1);
    fs::create_directory(dir / "folder.bmp");

    const auto padded = kolvane::read_bmp((dir / "padded.bmp").string());
    ASSERT_TRUE(padded.has_value());
    EXPECT_EQ(padded->pixels, sample(9, 5, 200).pixels);
    EXPECT_FALSE(kolvane::read_bmp((dir / "huge.bmp").string()).has_value());
    // A folder made the reader throw out of the scene.
    EXPECT_FALSE(kolvane::read_bmp((dir / "folder.bmp").string()).has_value());
    std::error_code ec;
    fs::remove_all(dir, ec);
}
