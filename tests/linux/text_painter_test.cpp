// The glyph cache of the box text: bounded however many distinct characters a caption holds, exact, and free of allocations once warm.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "platform/sdl/text_painter.h"
#include "tests/allocation_counter.h"

namespace kolvane::sdl {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

SurfacePtr blank(int width, int height) {
    SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888));
    SDL_FillRect(s.get(), nullptr, 0);
    return s;
}

bool same_pixels(const SDL_Surface* a, const SDL_Surface* b) {
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(static_cast<const char*>(a->pixels) + y * a->pitch,
                        static_cast<const char*>(b->pixels) + y * b->pitch, static_cast<std::size_t>(a->w) * 4) != 0)
            return false;
    return true;
}

// count distinct characters: letters the face has (Latin, Greek, Cyrillic) in the middle, ones it
// lacks (CJK, drawn as nothing) on both sides of them.
std::u32string distinct_characters(std::size_t count) {
    std::u32string letters, others;
    for (const auto& range : {std::pair{U'\x21', U'\x7E'}, {U'\xA1', U'\u024F'}, {U'\u0370', U'\u03FF'}, {U'\u0400', U'\u04FF'}})
        for (char32_t c = range.first; c <= range.second; ++c) letters.push_back(c);
    for (char32_t c = 0x4E00; c <= 0x9FFF; ++c) others.push_back(c);
    if (count <= letters.size()) return letters.substr(0, count);
    const std::size_t before = (count - letters.size()) / 2, after = count - letters.size() - before;
    return others.substr(0, before) + letters + others.substr(before, after);
}

// The line's width measured straight from the font, as the painter must find it.
int font_width(TTF_Font* font, std::u32string_view text) {
    int pen = 0;
    char32_t previous = 0;
    for (const char32_t c : text) {
        if (previous != 0) pen += TTF_GetFontKerningSizeGlyphs32(font, previous, c);
        int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
        TTF_GlyphMetrics32(font, c, &minx, &maxx, &miny, &maxy, &advance);
        pen += advance;
        previous = c;
    }
    return pen;
}

class GlyphCache : public ::testing::Test {
protected:
    void SetUp() override {
        if (sans_font_file(false).empty()) GTEST_SKIP() << "Liberation Sans is not installed";
        ASSERT_EQ(TTF_Init(), 0);
        font = open_sans_font(false, 14.25, 96, 96);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override {
        if (font) TTF_CloseFont(font);
        if (TTF_WasInit()) TTF_Quit();
    }
    TTF_Font* font = nullptr;
    const SDL_Color white{255, 255, 255, 255};
};

TEST_F(GlyphCache, ACaptionOfManyDistinctCharactersKeepsABoundedNumberOfGlyphs) {
    // Every distinct character of a caption used to stay rendered for good: gigabytes for a long one.
    TextPainter painter(font, white);
    const std::u32string text = distinct_characters(20000);
    ASSERT_EQ(text.size(), 20000u);
    const auto line = blank(1920, painter.line_height());
    const int w = painter.width(text);
    EXPECT_EQ(w, font_width(font, text));
    painter.draw(line.get(), (line->w - w) / 2, 0, text);
    EXPECT_LE(painter.glyphs_known(), TextPainter::glyph_capacity);
    // Only the stretch of the line that falls on the 1920 pixels is rendered.
    EXPECT_GT(painter.renderings(), 100u);
    EXPECT_LT(painter.renderings(), 300u);
    const std::size_t renderings = painter.renderings();
    painter.draw(line.get(), (line->w - w) / 2, 0, text);
    EXPECT_LT(painter.renderings() - renderings, 300u);
}

TEST_F(GlyphCache, GlyphsPassedOverOrForgottenDrawExactlyAsFreshOnes) {
    const std::u32string hello = U"Hello, \u00C9t\u00E9 \u0416\u03A9 world";
    const auto reference = blank(400, 40);
    {
        TextPainter fresh(font, white);
        fresh.draw(reference.get(), 3, 2, hello);
    }
    TextPainter painter(font, white);
    const std::u32string many = distinct_characters(3000);
    for (int round = 0; round < 3; ++round) {
        painter.draw(blank(600, 40).get(), -2000, 2, many);
        const auto again = blank(400, 40);
        painter.draw(again.get(), 3, 2, hello);
        EXPECT_TRUE(same_pixels(reference.get(), again.get())) << "round " << round;
    }
    // Random lines over an alphabet larger than the cache keep every width exact through its evictions.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, many.size() - 1);
    for (int n = 0; n < 300; ++n) {
        std::u32string line;
        for (int k = 0; k < 40; ++k) line.push_back(many[pick(random)]);
        ASSERT_EQ(painter.width(line), font_width(font, line)) << n;
        ASSERT_LE(painter.glyphs_known(), TextPainter::glyph_capacity);
    }
}

TEST_F(GlyphCache, KnownGlyphsAreDrawnWithoutAllocating) {
    TextPainter painter(font, white);
    const std::u32string text = distinct_characters(TextPainter::glyph_capacity);
    const auto line = blank(30000, painter.line_height());
    painter.draw(line.get(), 0, 0, text);
    EXPECT_EQ(painter.glyphs_known(), TextPainter::glyph_capacity);
    const std::int64_t before = testing::allocation_count();
    for (int n = 0; n < 3; ++n) {
        EXPECT_GT(painter.width(text), 0);
        painter.draw(line.get(), -n * 100, 0, text);
    }
    EXPECT_EQ(testing::allocation_count(), before);
}

}  // namespace
}  // namespace kolvane::sdl
