// Clock arithmetic, the event-delivering pause, the pointer counter and the other system services.
#include <gtest/gtest.h>

#include "startup/system_services.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using testing::TestApp;

TEST(Ticks, DeadlinesSurviveTheWrapOfTheCounter) {
    const std::int32_t near_max = 2147483647 - 10;
    const std::int32_t deadline = ticks_add(near_max, 45);  // past 2^31 - 1
    EXPECT_LT(deadline, 0);
    EXPECT_FALSE(ticks_reached(near_max, deadline));
    EXPECT_FALSE(ticks_reached(ticks_add(near_max, 44), deadline));
    EXPECT_TRUE(ticks_reached(ticks_add(near_max, 45), deadline));
    EXPECT_TRUE(ticks_reached(ticks_add(near_max, 46), deadline));
    EXPECT_EQ(ticks_until(near_max, deadline), 45);
}

TEST(PauseMs, ZeroDeliversEventsOnceAndLongerWaitsSleepInTheEventWait) {
    TestApp t;
    pause_ms(t.system, 0);
    EXPECT_EQ(t.system.pump_rounds, 1);
    EXPECT_EQ(t.system.longest_wait, 0);

    t.system.pump_rounds = 0;
    t.system.clock_ms = 0xffffffffu - 5;  // the pause crosses the wrap of the unsigned count
    pause_ms(t.system, 30);
    EXPECT_EQ(t.system.clock_ms, 24u);
    // The first round delivers what is pending; the second sleeps the rest in one wait.
    EXPECT_EQ(t.system.pump_rounds, 2);
    EXPECT_EQ(t.system.longest_wait, 30);
}

TEST(PauseMs, EventsThatArriveEarlyAreDeliveredAndTheWaitGoesOn) {
    TestApp t;
    int delivered = 0;
    t.system.on_pump = [&] { ++delivered; };
    t.system.clock_ms = 1000;
    pause_ms(t.system, 20);
    EXPECT_GE(delivered, 1);
    EXPECT_GE(t.system.clock_ms, 1020u);
}

TEST(Cursor, ShowAndHideLoopUntilTheCounterCrossesZero) {
    TestApp t;
    // Each call moves the counter at least once; a hidden pointer stays hidden.
    cursor_hide(t.system);
    cursor_hide(t.system);
    cursor_hide(t.system);
    EXPECT_EQ(t.system.cursor_counter, -3);
    t.system.cursor_counter = -3;
    cursor_show(t.system);
    EXPECT_EQ(t.system.cursor_counter, 0);
    t.system.cursor_counter = 4;
    cursor_hide(t.system);
    EXPECT_EQ(t.system.cursor_counter, -1);
}

TEST(SystemKeys, OffThenOnPassTheScreenSaverStatesInOrder) {
    TestApp t;
    system_keys_off(t.system);
    system_keys_on(t.system);
    set_wallpaper(t.system, "C:\\WINDOWS\\Kolvane Image.bmp");
    using Kind = headless::SystemCall::Kind;
    const auto& calls = t.system.calls;
    ASSERT_EQ(calls.size(), 5u);
    const std::pair<SaverState, bool> states[] = {
        {SaverState::running, true}, {SaverState::active, false}, {SaverState::running, false}, {SaverState::active, true}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(calls[i].kind, Kind::saver_state) << i;
        EXPECT_EQ(calls[i].state, states[i].first) << i;
        EXPECT_EQ(calls[i].on, states[i].second) << i;
    }
    EXPECT_EQ(calls[4].kind, Kind::wallpaper);
    EXPECT_EQ(calls[4].path, "C:\\WINDOWS\\Kolvane Image.bmp");
}

TEST(WindowsDirectory, EndsInExactlyOneSeparator) {
    TestApp t;
    t.system.windows_dir = "C:\\WINDOWS";
    EXPECT_EQ(windows_directory(t.system), "C:\\WINDOWS\\");
    t.system.windows_dir = "C:\\WINDOWS\\";
    EXPECT_EQ(windows_directory(t.system), "C:\\WINDOWS\\");
    t.system.windows_dir = "";
    EXPECT_EQ(windows_directory(t.system), "\\");
}

TEST(WindowsDirectory, ALongFolderIsKeptWhole) {
    // Longer than Windows' own call reports; another platform's data folder may be.
    TestApp t;
    t.system.windows_dir = "/home/user/" + std::string(300, 'd');
    EXPECT_EQ(windows_directory(t.system), t.system.windows_dir + "\\");
}

class FakeForm : public FormGeometry {
public:
    float width_twips() const override { return 4500; }
    float height_twips() const override { return 3001; }
    void move_to_twips(float l, float t) override {
        left = l;
        top = t;
    }
    float left = -1, top = -1;
};

TEST(CenterForm, CentresInTwipsAndDeliversEvents) {
    TestApp t;
    FakeForm form;
    center_form(t.system, form);
    EXPECT_FLOAT_EQ(form.left, 640 * 15 / 2.0f - 2250);
    EXPECT_FLOAT_EQ(form.top, 480 * 15 / 2.0f - 1500.5f);
    EXPECT_EQ(t.system.pump_rounds, 1);
}

TEST(NoWindowTitled, LooksForTheExactTitle) {
    TestApp t;
    t.system.windows = {"screen saver running"};
    EXPECT_FALSE(no_window_titled(t.system, "screen saver running"));
    EXPECT_TRUE(no_window_titled(t.system, "Screen Saver Running"));
}

}  // namespace
}  // namespace kolvane
