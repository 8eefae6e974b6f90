// The caption and clock boxes on the window: sizes from twips at the screen's DPI, colours, fonts, and the engine driving them.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>

#include "app/app.h"
#include "platform/headless/headless_display.h"
#include "platform/sdl/overlay_boxes.h"
#include "platform/sdl/screen_layers.h"
#include "platform/sdl/text_painter.h"
#include "scene/render/overlays.h"
#include "tests/allocation_counter.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

std::uint32_t rgb_at(const SDL_Surface* s, int x, int y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch);
    return row[x] & 0xFFFFFFu;
}

// Counts pixels of exactly this colour inside r, and finds the rows that hold any.
struct ColourCount {
    int pixels = 0;
    int first_row = -1;
    int last_row = -1;
    int first_column = -1;
    int last_column = -1;
};
ColourCount count_colour(const SDL_Surface* s, const SDL_Rect& r, std::uint32_t rgb) {
    ColourCount c;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (rgb_at(s, x, y) == rgb) {
                ++c.pixels;
                if (c.first_row < 0) c.first_row = y;
                c.last_row = y;
                if (c.first_column < 0 || x < c.first_column) c.first_column = x;
                c.last_column = std::max(c.last_column, x);
            }
    return c;
}

class OverlayBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (sans_font_file(false).empty()) GTEST_SKIP() << "Liberation Sans is not installed";
        target.reset(SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888));
        layers.attach(target.get());
        layers.present(scene, 0, 0, 640, 480);
    }
    std::unique_ptr<SDL_Surface, SurfaceDeleter> target;
    ScreenLayers layers;
    Surface scene{640, 480, 0x203040u};
};

TEST(FontSizes, PointsBecomePixelsAtTheScreensDpi) {
    EXPECT_DOUBLE_EQ(points_to_pixels(14.25, 96), 19.0);
    EXPECT_DOUBLE_EQ(points_to_pixels(8.25, 96), 11.0);
    if (sans_font_file(false).empty()) GTEST_SKIP() << "Liberation Sans is not installed";
    ASSERT_EQ(TTF_Init(), 0);
    const auto cap_height = [](double points, double dpi, bool bold) {
        TTF_Font* font = open_sans_font(bold, points, dpi, dpi);
        EXPECT_NE(font, nullptr);
        int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
        TTF_GlyphMetrics32(font, 'H', &minx, &maxx, &miny, &maxy, &advance);
        TTF_CloseFont(font);
        return maxy - miny;
    };
    // Capital letters of this face are 0.688 of the em: 13.1 pixels of a 19-pixel em, twice that at twice the DPI.
    const int caption_96 = cap_height(14.25, 96, false), caption_192 = cap_height(14.25, 192, false);
    EXPECT_NEAR(caption_96, 13.1, 1.0);
    EXPECT_NEAR(caption_192, 26.1, 1.0);
    EXPECT_NEAR(cap_height(8.25, 96, true), 7.6, 1.0);
    TTF_Quit();
}

TEST_F(OverlayBoxesTest, CaptionBoxHasItsSizeColoursAndWhiteText) {
    SceneFonts fonts(96, 96);
    OverlayBoxes boxes(layers, fonts, 15.0, 15.0);
    boxes.place(OverlayBox::caption, 0.0f, 480 * 15.0f, 640 * 15.0f, caption_box_height);
    boxes.set_text(OverlayBox::caption, "Welcome To Kolvane Screen Saver");
    boxes.set_visible(OverlayBox::caption, true);
    boxes.move(OverlayBox::caption, 0.0f, 480 * 15.0f - caption_box_height);
    const SDL_Rect r = layers.layer_rect(Layer::caption);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 452);
    EXPECT_EQ(r.w, 640);
    EXPECT_EQ(r.h, 28);  // 420 twips at 15 twips per pixel
    EXPECT_EQ(rgb_at(target.get(), 0, 452), 0x000080u);
    EXPECT_EQ(rgb_at(target.get(), 639, 479), 0x000080u);
    EXPECT_EQ(rgb_at(target.get(), 0, 451), 0x203040u);
    const ColourCount white = count_colour(target.get(), r, 0xFFFFFFu);
    EXPECT_GT(white.pixels, 100);
    // Centred, and the lettering stays inside the box.
    EXPECT_NEAR((white.first_column + white.last_column) / 2.0, 320.0, 6.0);
    EXPECT_GT(white.first_row, 452);
    EXPECT_LT(white.last_row, 479);
}

// A line wider than its box shows its beginning: here 40 blanks, then letters to the right edge.
TEST_F(OverlayBoxesTest, ALineTooLongForItsBoxStartsAtItsLeftEdge) {
    SceneFonts fonts(96, 96);
    OverlayBoxes boxes(layers, fonts, 15.0, 15.0);
    boxes.place(OverlayBox::caption, 0.0f, 480 * 15.0f - caption_box_height, 640 * 15.0f, caption_box_height);
    boxes.set_text(OverlayBox::caption, std::string(40, ' ') + std::string(1 << 20, 'x'));
    boxes.set_visible(OverlayBox::caption, true);
    const ColourCount white = count_colour(target.get(), layers.layer_rect(Layer::caption), 0xFFFFFFu);
    EXPECT_GT(white.first_column, 100);
    EXPECT_GT(white.last_column, 630);
}

TEST_F(OverlayBoxesTest, BoxSizesFollowTheTwipsPerPixel) {
    SceneFonts fonts(120, 120);
    OverlayBoxes boxes(layers, fonts, 12.0, 12.0);  // 120 DPI
    boxes.place(OverlayBox::caption, 0.0f, 100 * 12.0f, 640 * 12.0f, caption_box_height);
    boxes.place(OverlayBox::clock, 640 * 12.0f - clock_box_width, 0.0f, clock_box_width, clock_box_height);
    EXPECT_EQ(layers.layer_rect(Layer::caption).h, 35);
    EXPECT_EQ(layers.layer_rect(Layer::caption).y, 100);
    EXPECT_EQ(layers.layer_rect(Layer::clock).w, 86);  // 1035 / 12 = 86.25
    EXPECT_EQ(layers.layer_rect(Layer::clock).h, 21);  // 255 / 12 = 21.25
    EXPECT_EQ(layers.layer_rect(Layer::clock).x, 554);
}

TEST_F(OverlayBoxesTest, ClockIsYellowBoldOnBlackAndFitsItsBox) {
    SceneFonts fonts(96, 96);
    OverlayBoxes boxes(layers, fonts, 15.0, 15.0);
    boxes.place(OverlayBox::clock, 640 * 15.0f - clock_box_width, 0.0f, clock_box_width, clock_box_height);
    boxes.set_text(OverlayBox::clock, "12:30:59 PM");
    boxes.set_visible(OverlayBox::clock, true);
    const SDL_Rect r = layers.layer_rect(Layer::clock);
    ASSERT_EQ(r.x, 571);
    ASSERT_EQ(r.w, 69);
    ASSERT_EQ(r.h, 17);
    const ColourCount yellow = count_colour(target.get(), r, 0xFFFF00u);
    EXPECT_GT(yellow.pixels, 40);
    EXPECT_GT(yellow.first_column, r.x);
    EXPECT_LT(yellow.last_column, r.x + r.w - 1);
    EXPECT_EQ(rgb_at(target.get(), r.x, 0), 0x000000u);
    EXPECT_EQ(rgb_at(target.get(), r.x + r.w - 1, r.h - 1), 0x000000u);
    EXPECT_EQ(rgb_at(target.get(), r.x - 1, 0), 0x203040u);
}

TEST_F(OverlayBoxesTest, TheSameTextAgainDrawsNothing) {
    SceneFonts fonts(96, 96);
    OverlayBoxes boxes(layers, fonts, 15.0, 15.0);
    boxes.place(OverlayBox::clock, 640 * 15.0f - clock_box_width, 0.0f, clock_box_width, clock_box_height);
    boxes.set_visible(OverlayBox::clock, true);
    boxes.set_text(OverlayBox::clock, "01:02:03 AM");
    const SDL_Rect* rects = nullptr;
    layers.take_dirty(rects);
    boxes.set_text(OverlayBox::clock, "01:02:03 AM");
    EXPECT_FALSE(layers.has_dirty());
    boxes.set_text(OverlayBox::clock, "01:02:04 AM");
    EXPECT_TRUE(layers.has_dirty());
}

TEST_F(OverlayBoxesTest, TheEngineRaisesTheCaptionOnePixelPerFrameAndShowsTheClock) {
    SceneFonts fonts(96, 96);
    OverlayBoxes boxes(layers, fonts, 15.0, 15.0);
    headless::FixedClock clock;
    clock.now = {15, 4, 5};
    testing::TestApp t;
    t.system.screen_twips_w = 640 * 15.0f;
    t.system.screen_twips_h = 480 * 15.0f;
    App& app = t.app;
    app.platform.overlays = &boxes;
    app.platform.local_clock = &clock;
    app.settings.scroller_active = 1;
    app.settings.show_time = "1";
    app.lists.caption_count = 1;
    app.lists.captions[1] = "A caption";
    app.scene.scroller = {0, 1, 0, 0.0f};
    place_time_box(app.scene);

    handle_time(app.scene);
    EXPECT_TRUE(layers.layer_visible(Layer::clock));
    EXPECT_GT(count_colour(target.get(), layers.layer_rect(Layer::clock), 0xFFFF00u).pixels, 40);

    for (int frame = 1; frame <= 28; ++frame) {
        handle_scroller(app.scene);
        ASSERT_EQ(layers.layer_rect(Layer::caption).y, 480 - frame) << frame;
    }
    EXPECT_EQ(rgb_at(target.get(), 10, 479), 0x000080u);
    EXPECT_EQ(rgb_at(target.get(), 10, 451), 0x203040u);
    handle_scroller(app.scene);  // in view: the rise ends and the box already goes down one pixel
    EXPECT_EQ(layers.layer_rect(Layer::caption).y, 453);
    EXPECT_EQ(rgb_at(target.get(), 10, 452), 0x203040u);
}

TEST_F(OverlayBoxesTest, FrameRateCornerCountsFramesAndSleepOverASecond) {
    SceneFonts fonts(96, 96);
    FrameRateBox box(layers, fonts);
    box.show(true);
    std::uint32_t now = 5000;
    std::uint64_t asleep = 100;
    std::int32_t counter = 7;
    box.round(now, counter, asleep);
    // 22 frames in a second, several rounds each, asleep 900 of the 1000 milliseconds.
    for (int frame = 0; frame < 22; ++frame) {
        counter = (counter + 1) % 80;
        for (int round = 0; round < 3; ++round) {
            now += 15;
            asleep += 13;
            box.round(now, counter, asleep);
        }
    }
    EXPECT_EQ(box.text(), "-- FPS");  // not a whole second yet
    now = 6000;
    asleep = 1000;
    box.round(now, counter, asleep);
    EXPECT_EQ(box.text(), "22.0 FPS  90% asleep");
    const SDL_Rect r = layers.layer_rect(Layer::frame_rate);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y + r.h, 480);  // bottom left corner
    EXPECT_GT(count_colour(target.get(), r, 0xFFFFFFu).pixels, 20);
}

TEST_F(OverlayBoxesTest, FramesAllocateNothingOnceTheGlyphsAreKnown) {
    SceneFonts fonts(96, 96);
    OverlayBoxes boxes(layers, fonts, 15.0, 15.0);
    FrameRateBox rate(layers, fonts);
    rate.show(true);
    boxes.place(OverlayBox::clock, 640 * 15.0f - clock_box_width, 0.0f, clock_box_width, clock_box_height);
    boxes.place(OverlayBox::caption, 0.0f, 480 * 15.0f, 640 * 15.0f, caption_box_height);
    boxes.set_text(OverlayBox::caption, "A caption");
    boxes.set_visible(OverlayBox::caption, true);
    boxes.set_visible(OverlayBox::clock, true);
    // Every character the clock and the corner can show, once.
    boxes.set_text(OverlayBox::clock, "0123456789: AMP");
    rate.round(0, 0, 0);
    rate.round(1000, 1, 900);
    const SDL_Rect* rects = nullptr;
    layers.take_dirty(rects);

    // A first pass meets every digit the corner shows; the second must allocate nothing.
    std::int64_t before = 0;
    for (int frame = 0; frame < 800; ++frame) {
        if (frame == 400) before = testing::allocation_count();
        const int second = frame / 20;
        const ClockText text = format_clock_text({(13 + second / 3600) % 24, second / 60 % 60, second % 60}, "AM", "PM");
        boxes.set_text(OverlayBox::clock, text.view());
        boxes.move(OverlayBox::caption, 0.0f, static_cast<float>(480 - frame % 29) * 15.0f);
        layers.present(scene, (frame * 13) % 600, (frame * 7) % 440, 40, 40);
        rate.round(static_cast<std::uint32_t>(1000 + frame * 45), frame % 80, static_cast<std::uint64_t>(900 + frame * 40));
        layers.take_dirty(rects);
    }
    EXPECT_EQ(testing::allocation_count(), before);
}

TEST(TextEncodings, Utf8OrTheWesternCodePage) {
    std::u32string out;
    decode_text("Caf\xC3\xA9 \xE2\x82\xAC", out);
    EXPECT_EQ(out, U"Caf\u00E9 \u20AC");
    decode_text("Caf\xE9 \x80", out);  // not UTF-8: the Western code page
    EXPECT_EQ(out, U"Caf\u00E9 \u20AC");
    EXPECT_EQ(utf8_to_western("\xC3\xA9t\xC3\xA9"), "\xE9t\xE9");
    EXPECT_EQ(utf8_to_western("\xE2\x82\xAC\xC5\x93"), "\x80\x9C");
    EXPECT_EQ(utf8_to_western("\xE4\xB8\xAD"), "?");
    EXPECT_EQ(western_to_unicode(0x9F), U'\u0178');
    EXPECT_EQ(western_to_unicode(0x81), U'\u0081');
}

}  // namespace
}  // namespace kolvane::sdl
