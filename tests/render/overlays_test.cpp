// The caption line's course and the clock text.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "render_fixture.h"
#include "scene/render/overlays.h"

namespace kolvane {
namespace {

using testing::RenderScene;

class CaptionLine : public ::testing::Test {
protected:
    CaptionLine() : scene(600, 400) {
        scene.system.screen_twips_h = 9000.0f;  // a window 9000 twips high, 15 twips per pixel
        app.settings.scroller_active = 1;
        app.lists.caption_count = 2;
        app.lists.captions[1] = "Hello from orbit";
        app.lists.captions[2] = "Second caption";
        app.scene.run.scroller_period = 500;
        app.scene.run.input_limit = 22;
        app.scene.scroller = {};
        app.scene.scroller.scroller_countdown = 500;
    }
    // Frames until the countdown has just run out, so that the next frame starts a caption.
    void wait_for_start() {
        while (app.scene.scroller.scroller_countdown > 1) handle_scroller(app.scene);
    }
    RenderScene scene;
    App& app = scene.app;
    headless::HeadlessOverlays::Box& box = scene.overlays.caption;
};

TEST_F(CaptionLine, FirstCaptionStartsInFrame500) {
    for (int frame = 1; frame < 500; ++frame) {
        handle_scroller(app.scene);
        ASSERT_FALSE(box.visible) << frame;
    }
    handle_scroller(app.scene);
    EXPECT_TRUE(box.visible);
    EXPECT_EQ(box.text, "Hello from orbit");
    EXPECT_EQ(app.scene.scroller.caption_index, 1);
    EXPECT_FLOAT_EQ(box.width, 600 * 15.0f);
    EXPECT_FLOAT_EQ(box.height, 420.0f);
    EXPECT_FLOAT_EQ(box.left, 0.0f);
}

TEST_F(CaptionLine, RisesRestsAndSinksOnePixelPerFrameInANineThousandTwipWindow) {
    wait_for_start();
    // Rise: 28 frames, the placing frame included, to a top of 8580.
    for (int frame = 1; frame <= 28; ++frame) {
        handle_scroller(app.scene);
        ASSERT_EQ(app.scene.scroller.scroller_phase, 1);
        ASSERT_FLOAT_EQ(box.top, 9000.0f - 15.0f * static_cast<float>(frame));
    }
    EXPECT_FLOAT_EQ(box.top, 8580.0f);
    // The next frame ends the rise and already moves the box down once.
    handle_scroller(app.scene);
    EXPECT_EQ(app.scene.scroller.scroller_phase, 2);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, 150);
    EXPECT_FLOAT_EQ(box.top, 8595.0f);
    // It rests for 149 frames.
    for (int frame = 1; frame <= 149; ++frame) {
        handle_scroller(app.scene);
        ASSERT_FLOAT_EQ(box.top, 8595.0f) << frame;
    }
    // It sinks in 34 frames to 9105, the first top not below 9100.
    for (int frame = 1; frame <= 34; ++frame) {
        handle_scroller(app.scene);
        ASSERT_FLOAT_EQ(box.top, 8595.0f + 15.0f * static_cast<float>(frame));
        ASSERT_EQ(app.scene.scroller.scroller_phase, 2);
    }
    EXPECT_FLOAT_EQ(box.top, 9105.0f);
    // The frame after that returns to waiting; the box stays visible, out of view.
    handle_scroller(app.scene);
    EXPECT_EQ(app.scene.scroller.scroller_phase, 0);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, 500);
    EXPECT_FLOAT_EQ(box.top, 9105.0f);
    EXPECT_TRUE(box.visible);
}

TEST_F(CaptionLine, MovingFramesReplaceTheInputCountWithHalfTheLimit) {
    wait_for_start();
    app.scene.run.input_count = 20;
    handle_scroller(app.scene);  // placed and moved up
    EXPECT_EQ(app.scene.run.input_count, 11);
    for (int frame = 0; frame < 28; ++frame) handle_scroller(app.scene);  // rise, then the first step down
    EXPECT_EQ(app.scene.scroller.scroller_phase, 2);
    app.scene.run.input_count = 3;
    handle_scroller(app.scene);  // resting: not moved
    EXPECT_EQ(app.scene.run.input_count, 3);
}

TEST_F(CaptionLine, CaptionsFollowTheListAndWrapRound) {
    app.scene.run.scroller_period = 0;  // the next caption starts as soon as one has sunk
    app.scene.scroller.scroller_countdown = 1;
    std::vector<std::string> shown;
    int starts = 0;
    for (int frame = 0; frame < 2000 && starts < 5; ++frame) {
        const int phase = app.scene.scroller.scroller_phase;
        handle_scroller(app.scene);
        if (phase == 0 && app.scene.scroller.scroller_phase != 0) {
            shown.push_back(box.text);
            ++starts;
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Hello from orbit", "Second caption", "Hello from orbit",
                                               "Second caption", "Hello from orbit"}));
}

TEST_F(CaptionLine, TheLowestNegativePeriodStartsTheNextCaptionInTheFollowingFrame) {
    // A period as low as the products of the settings go: counting it down once more overflowed.
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    app.scene.run.scroller_period = lowest;
    app.scene.scroller.scroller_countdown = lowest;
    handle_scroller(app.scene);
    EXPECT_TRUE(box.visible);
    EXPECT_EQ(app.scene.scroller.scroller_phase, 1);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, lowest);
    int frames = 1;
    while (app.scene.scroller.scroller_phase != 0 && frames < 1000) {
        handle_scroller(app.scene);
        ++frames;
    }
    ASSERT_EQ(app.scene.scroller.scroller_phase, 0);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, lowest);
    handle_scroller(app.scene);
    EXPECT_EQ(app.scene.scroller.scroller_phase, 1);
    EXPECT_EQ(box.text, "Second caption");
    EXPECT_EQ(app.scene.scroller.scroller_countdown, lowest);
}

// A list entry may be any length; the line shows its start only, so the view is given no more than
// one line of the box can show, cut before a character, never inside one.
TEST_F(CaptionLine, ALongCaptionIsHandedOverOnlyAsFarAsItsLineCanShow) {
    struct Row {
        const char* what;
        std::string caption;
        std::size_t character_bytes;
    };
    const std::vector<Row> rows = {
        {"a caption that fits", "Hello from orbit", 1},
        {"a megabyte of letters", std::string(1 << 20, 'w'), 1},
        {"a megabyte of three-byte UTF-8 characters", [] {
             std::string s;
             for (int i = 0; i < (1 << 20) / 3; ++i) s += "\xE2\x82\xAC";
             return s;
         }(), 3},
    };
    const std::size_t most = caption_bytes_shown(600);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        app.scene.scroller = {};
        app.lists.caption_count = 1;
        app.lists.captions[1] = row.caption;
        handle_scroller(app.scene);
        ASSERT_TRUE(box.visible);
        EXPECT_EQ(box.text.size(), std::min(row.caption.size(), most - most % row.character_bytes));
        EXPECT_EQ(box.text, row.caption.substr(0, box.text.size()));
    }
}

// Laid out with a font whose every character is as wide: only what shows is measured.
TEST(LineLayout, OnlyTheCharactersThatShowAreMeasured) {
    struct Row {
        const char* what;
        std::size_t length;
        int box;
        int advance;
        std::size_t count;
        int left;
    };
    const std::vector<Row> rows = {
        {"a line that fits is centred", 10, 100, 7, 10, 15},
        {"a line as wide as its box", 10, 70, 7, 10, 0},
        {"a pixel wider: from the left edge", 10, 69, 7, 10, 0},
        {"a megabyte of text, up to the character crossing the right edge", 1 << 20, 640, 7, 92, 0},
        {"characters of no width: one per pixel and one more", 1 << 20, 640, 0, 641, 0},
        {"an empty line", 0, 640, 7, 0, 320},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::size_t measured = 0;
        const LineLayout line = lay_out_line(row.length, row.box, [&](std::size_t) {
            ++measured;
            return row.advance;
        });
        EXPECT_EQ(line.count, row.count);
        EXPECT_EQ(line.left, row.left);
        EXPECT_EQ(measured, row.count);
    }
}

TEST_F(CaptionLine, NothingHappensWhenOffOrWithoutCaptions) {
    app.settings.scroller_active = 0;
    for (int frame = 0; frame < 1000; ++frame) handle_scroller(app.scene);
    EXPECT_FALSE(box.visible);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, 500);
    app.settings.scroller_active = 1;
    app.lists.caption_count = 0;
    for (int frame = 0; frame < 1000; ++frame) handle_scroller(app.scene);
    EXPECT_FALSE(box.visible);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, 500);
}

TEST(ClockText, TwelveHourClockWithTheDesignatorOfTheHalfDay) {
    EXPECT_EQ(format_clock_text({12, 0, 0}, "AM", "PM").view(), "12:00:00 PM");
    EXPECT_EQ(format_clock_text({0, 0, 0}, "AM", "PM").view(), "12:00:00 AM");
    EXPECT_EQ(format_clock_text({15, 4, 5}, "AM", "PM").view(), "03:04:05 PM");
    EXPECT_EQ(format_clock_text({0, 30, 0}, "AM", "PM").view(), "12:30:00 AM");
    EXPECT_EQ(format_clock_text({11, 59, 59}, "AM", "PM").view(), "11:59:59 AM");
    EXPECT_EQ(format_clock_text({23, 59, 59}, "vorm.", "nachm.").view(), "11:59:59 nachm.");
}

TEST(Clock, ShowsTheTimeEveryFrameWhenSwitchedOn) {
    RenderScene scene;
    App& app = scene.app;
    app.settings.show_time = std::string("1");
    scene.clock.now = {12, 0, 0};
    handle_time(app.scene);
    EXPECT_TRUE(scene.overlays.clock.visible);
    EXPECT_EQ(scene.overlays.clock.text, "12:00:00 PM");
    scene.clock.now = {0, 0, 1};
    handle_time(app.scene);
    EXPECT_EQ(scene.overlays.clock.text, "12:00:01 AM");
}

TEST(Clock, StaysHiddenAndUnformattedWhenSwitchedOff) {
    RenderScene scene;
    scene.app.settings.show_time = std::string("0");
    handle_time(scene.app.scene);
    EXPECT_FALSE(scene.overlays.clock.visible);
    EXPECT_EQ(scene.overlays.clock.texts, 0);
}

}  // namespace
}  // namespace kolvane
