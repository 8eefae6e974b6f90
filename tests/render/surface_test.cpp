// Raster copies between surfaces: the three operations, clipping to both surfaces, masks.
#include <gtest/gtest.h>

#include <algorithm>

#include "scene/render/bmp.h"
#include "scene/render/surface.h"

namespace kolvane {
namespace {

// A surface whose every pixel tells its own position.
Surface numbered(int w, int h, std::uint32_t base) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.at(x, y) = base + static_cast<std::uint32_t>(y * 256 + x);
    return s;
}

TEST(RasterCopy, OperationsCombineSourceAndDestinationBitwise) {
    Surface dest(3, 1);
    dest.at(0, 0) = 0x00F0F0F0u;
    dest.at(1, 0) = 0x00F0F0F0u;
    dest.at(2, 0) = 0x00F0F0F0u;
    Surface src(3, 1);
    src.at(0, 0) = 0x000FFF00u;
    src.at(1, 0) = 0x000FFF00u;
    src.at(2, 0) = 0x000FFF00u;
    bit_blt(dest, 0, 0, 1, 1, src, 0, 0, RasterOp::srccopy);
    bit_blt(dest, 1, 0, 1, 1, src, 1, 0, RasterOp::srcand);
    bit_blt(dest, 2, 0, 1, 1, src, 2, 0, RasterOp::srcpaint);
    EXPECT_EQ(dest.at(0, 0), 0x000FFF00u);
    EXPECT_EQ(dest.at(1, 0), 0x0000F000u);
    EXPECT_EQ(dest.at(2, 0), 0x00FFFFF0u);
}

TEST(RasterCopy, MaskThenPaintCutsAHoleAndFillsIt) {
    // White mask bits keep the background, black ones clear it for the figure.
    Surface scene(2, 1, 0x00123456u);
    Surface mask(2, 1);
    mask.at(0, 0) = white;
    mask.at(1, 0) = black;
    Surface figure(2, 1);
    figure.at(0, 0) = black;
    figure.at(1, 0) = 0x00808000u;
    bit_blt(scene, 0, 0, 2, 1, mask, 0, 0, RasterOp::srcand);
    bit_blt(scene, 0, 0, 2, 1, figure, 0, 0, RasterOp::srcpaint);
    EXPECT_EQ(scene.at(0, 0), 0x00123456u);
    EXPECT_EQ(scene.at(1, 0), 0x00808000u);
}

TEST(RasterCopy, FusedMaskAndPaintEqualsTheTwoCopies) {
    Surface mask(12, 10, white), figure(12, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            if ((x * x + y * 3) % 5 != 0) continue;
            mask.at(x, y) = black;
            figure.at(x, y) = 0x00102030u + static_cast<std::uint32_t>(x * 16 + y);
        }
    }
    const Surface scene = numbered(20, 15, 0x00500000u);
    for (const int x : {-9, -1, 0, 4, 11, 19, 25}) {
        for (const int y : {-7, 0, 3, 14}) {
            Surface fused = scene, separate = scene;
            const PixelRect r = mask_and_paint(fused, x, y, 10, 8, mask, figure, 1, 2);
            bit_blt(separate, x, y, 10, 8, mask, 1, 2, RasterOp::srcand);
            const PixelRect r2 = bit_blt(separate, x, y, 10, 8, figure, 1, 2, RasterOp::srcpaint);
            EXPECT_TRUE(std::equal(fused.data(), fused.data() + 300, separate.data())) << x << "," << y;
            EXPECT_EQ(r.width * r.height, r2.width * r2.height);
        }
    }
}

TEST(RasterCopy, EveryRowLengthAndStartCombinesEachPixelOnce) {
    // Rows are done several pixels at a time and then singly: every length and start column must
    // give each pixel of the rectangle its own rule and leave the pixels around it alone.
    Surface mask(16, 3), figure(16, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 16; ++x) {
            mask.at(x, y) = (x + y) % 3 == 0 ? black : white;
            figure.at(x, y) = mask.at(x, y) == black ? 0x00010203u * static_cast<std::uint32_t>(x + 1) : black;
        }
    }
    const Surface scene = numbered(24, 5, 0x00A50000u);
    for (int width = 1; width <= 13; ++width) {
        for (const int x : {0, 1, 3, 6}) {
            for (const int src_x : {0, 2, 3}) {
                Surface copied = scene, anded = scene, ored = scene, masked = scene;
                bit_blt(copied, x, 1, width, 3, figure, src_x, 0, RasterOp::srccopy);
                bit_blt(anded, x, 1, width, 3, mask, src_x, 0, RasterOp::srcand);
                bit_blt(ored, x, 1, width, 3, figure, src_x, 0, RasterOp::srcpaint);
                mask_and_paint(masked, x, 1, width, 3, mask, figure, src_x, 0);
                for (int py = 0; py < scene.height(); ++py) {
                    for (int px = 0; px < scene.width(); ++px) {
                        const std::uint32_t old = scene.at(px, py);
                        const bool inside = px >= x && px < x + width && px - x + src_x < 16 && py >= 1 && py < 4;
                        const std::uint32_t m = inside ? mask.at(px - x + src_x, py - 1) : white;
                        const std::uint32_t f = inside ? figure.at(px - x + src_x, py - 1) : black;
                        const auto where = ::testing::Message() << width << " wide at " << x << " from " << src_x
                                                                << ", pixel " << px << "," << py;
                        EXPECT_EQ(copied.at(px, py), inside ? f : old) << where;
                        EXPECT_EQ(anded.at(px, py), old & m) << where;
                        EXPECT_EQ(ored.at(px, py), old | f) << where;
                        EXPECT_EQ(masked.at(px, py), (old & m) | f) << where;
                    }
                }
            }
        }
    }
}

TEST(RasterCopy, ClipsToTheDestinationOnEverySide) {
    const Surface src = numbered(10, 10, 0x10000);
    Surface dest(6, 5, 0x00ABCDEFu);
    // Hangs over the top-left corner by 2 and 3 pixels.
    PixelRect r = bit_blt(dest, -2, -3, 5, 5, src, 4, 4, RasterOp::srccopy);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.width, 3);
    EXPECT_EQ(r.height, 2);
    EXPECT_EQ(dest.at(0, 0), src.at(6, 7));
    EXPECT_EQ(dest.at(2, 1), src.at(8, 8));
    EXPECT_EQ(dest.at(3, 0), 0x00ABCDEFu);
    EXPECT_EQ(dest.at(0, 2), 0x00ABCDEFu);
    // Hangs over the bottom-right corner.
    r = bit_blt(dest, 4, 3, 5, 5, src, 0, 0, RasterOp::srccopy);
    EXPECT_EQ(r.width, 2);
    EXPECT_EQ(r.height, 2);
    EXPECT_EQ(dest.at(5, 4), src.at(1, 1));
    EXPECT_EQ(dest.at(3, 3), 0x00ABCDEFu);
}

TEST(RasterCopy, ClipsToTheSourceToo) {
    const Surface src = numbered(4, 4, 0x20000);
    Surface dest(10, 10, 0x00ABCDEFu);
    // Source origin left of and above the source: only the part inside it is copied, in place.
    PixelRect r = bit_blt(dest, 3, 3, 4, 4, src, -1, -2, RasterOp::srccopy);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.width, 3);
    EXPECT_EQ(r.height, 2);
    EXPECT_EQ(dest.at(4, 5), src.at(0, 0));
    EXPECT_EQ(dest.at(6, 6), src.at(2, 1));
    EXPECT_EQ(dest.at(3, 3), 0x00ABCDEFu);
    EXPECT_EQ(dest.at(3, 5), 0x00ABCDEFu);
    // Running off the source's right and bottom edges.
    r = bit_blt(dest, 0, 0, 6, 6, src, 2, 3, RasterOp::srccopy);
    EXPECT_EQ(r.width, 2);
    EXPECT_EQ(r.height, 1);
    EXPECT_EQ(dest.at(1, 0), src.at(3, 3));
    EXPECT_EQ(dest.at(2, 0), 0x00ABCDEFu);
}

TEST(RasterCopy, RectanglesOutsideOrEmptyDrawNothing) {
    const Surface src = numbered(4, 4, 0x30000);
    Surface dest(4, 4, 0x00ABCDEFu);
    EXPECT_TRUE(bit_blt(dest, 4, 0, 2, 2, src, 0, 0, RasterOp::srccopy).empty());
    EXPECT_TRUE(bit_blt(dest, 0, -2, 2, 2, src, 0, 0, RasterOp::srccopy).empty());
    EXPECT_TRUE(bit_blt(dest, 0, 0, 0, 3, src, 0, 0, RasterOp::srccopy).empty());
    EXPECT_TRUE(bit_blt(dest, 0, 0, -3, 3, src, 0, 0, RasterOp::srccopy).empty());
    EXPECT_TRUE(bit_blt(dest, 0, 0, 2, 2, src, 4, 0, RasterOp::srccopy).empty());
    // Far-off positions must not overflow into a visible rectangle.
    EXPECT_TRUE(bit_blt(dest, 2147483600, 0, 100, 2, src, 0, 0, RasterOp::srccopy).empty());
    EXPECT_TRUE(bit_blt(dest, -2147483600, 0, 2147483600, 2, src, 0, 0, RasterOp::srccopy).empty());
    Surface blank(4, 4, 0x00ABCDEFu);
    EXPECT_TRUE(std::equal(dest.data(), dest.data() + 16, blank.data()));
}

TEST(SurfacePictures, MaskFromAPictureIsBlackAndWhiteOnly) {
    Image picture(3, 1);
    picture.at(0, 0) = 0x000000u;
    picture.at(1, 0) = 0xFFFFFFu;
    picture.at(2, 0) = 0x202020u;
    Surface mask;
    mask_from_image(mask, picture);
    EXPECT_EQ(mask.at(0, 0), black);
    EXPECT_EQ(mask.at(1, 0), white);
    EXPECT_EQ(mask.at(2, 0), black);
    Image back;
    image_from_surface(back, mask);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.at(1, 0), 0xFFFFFFu);
}

// A sheet with every kind of pixel a draw meets: see-through (white mask, black figure), opaque (black
// mask), white mask under a coloured figure (ORed in), and grey mask values, which only the full rule gives.
void varied_sheet(Surface& mask, Surface& figure, unsigned seed) {
    mask = Surface(40, 30, white);
    figure = Surface(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            seed = seed * 1103515245u + 12345u;
            const unsigned kind = (seed >> 16) % 10;
            if (kind < 4) continue;  // see-through
            if (kind < 8) {
                mask.at(x, y) = black;
                figure.at(x, y) = (seed >> 4) & white;
            } else if (kind == 8) {
                figure.at(x, y) = 0x00000F0Fu;
            } else {
                mask.at(x, y) = 0x00F0F0F0u;
                figure.at(x, y) = (seed >> 8) & 0x00070707u;
            }
        }
    }
}

TEST(SheetRuns, DrawingThroughRunsGivesTheRectanglesPixelsEverywhereItIsClipped) {
    Surface mask, figure;
    varied_sheet(mask, figure, 5u);
    SheetRuns runs;
    runs.build(mask, figure);
    ASSERT_TRUE(runs.fits(mask, figure));
    const Surface scene = numbered(50, 40, 0x00300000u);
    int compared = 0;
    for (const int x : {-30, -13, -1, 0, 7, 31, 45, 49, 50}) {
        for (const int y : {-20, -1, 0, 9, 33, 39}) {
            for (const int sheet_x : {0, 3, 17, 35}) {
                Surface by_runs = scene, by_rect = scene;
                const PixelRect a = mask_and_paint_runs(by_runs, x, y, 21, 17, mask, figure, sheet_x, 6, runs);
                const PixelRect b = mask_and_paint(by_rect, x, y, 21, 17, mask, figure, sheet_x, 6);
                ASSERT_TRUE(std::equal(by_runs.data(), by_runs.data() + 2000, by_rect.data()))
                    << "at " << x << "," << y << " from sheet column " << sheet_x;
                EXPECT_EQ(a.left, b.left);
                EXPECT_EQ(a.width * a.height, b.width * b.height);
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 216);
}

TEST(SheetRuns, ErasingOverlappingDrawsThroughTheirRunsLeavesTheCleanPicture) {
    Surface mask, figure;
    varied_sheet(mask, figure, 11u);
    SheetRuns runs;
    runs.build(mask, figure);
    const Surface clean = numbered(60, 45, 0x00204000u);
    Surface screen = clean;
    // Overlapping each other and every edge, from different parts of the sheet.
    const int places[][4] = {{-5, -4, 0, 0}, {10, 8, 12, 5}, {18, 12, 3, 9}, {50, 38, 20, 10}, {20, 10, 0, 0}};
    // Drawn by the whole rectangles: the runs must cover every pixel such a draw changes.
    for (const auto& p : places) mask_and_paint(screen, p[0], p[1], 20, 20, mask, figure, p[2], p[3]);
    EXPECT_FALSE(std::equal(screen.data(), screen.data() + 2700, clean.data()));
    for (const auto& p : places) erase_runs(screen, p[0], p[1], 20, 20, clean, p[2], p[3], runs);
    EXPECT_TRUE(std::equal(screen.data(), screen.data() + 2700, clean.data()));
}

TEST(SheetRuns, SheetsOfTwoSizesHaveNoRunsAndAreDrawnAndErasedWhole) {
    Surface mask(8, 4, black), figure(9, 4, 0x00112233u);
    SheetRuns runs;
    runs.build(mask, figure);
    EXPECT_FALSE(runs.fits(mask, figure));
    const Surface clean = numbered(12, 6, 0x00010000u);
    Surface by_runs = clean, by_rect = clean;
    mask_and_paint_runs(by_runs, 1, 1, 6, 3, mask, figure, 0, 0, runs);
    mask_and_paint(by_rect, 1, 1, 6, 3, mask, figure, 0, 0);
    EXPECT_TRUE(std::equal(by_runs.data(), by_runs.data() + 72, by_rect.data()));
    erase_runs(by_runs, 1, 1, 6, 3, clean, 0, 0, runs);
    EXPECT_TRUE(std::equal(by_runs.data(), by_runs.data() + 72, clean.data()));
}

}  // namespace
}  // namespace kolvane
