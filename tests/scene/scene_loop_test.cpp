// The scene's frame loop: input counting, the password prompt, the orderly stop and the audio timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "password/password_forms.h"
#include "scene/audio.h"
#include "scene/password_prompt.h"
#include "scene/render/compositor.h"
#include "scene/render/wallpaper.h"
#include "scene/scene_window.h"
#include "tests/scene/scene_fixture.h"

namespace kolvane {
namespace {

using testing::SceneRig;

// Runs frames until the scene wants to stop or `limit` frames have passed; returns the frames run.
int run_until_stop(SceneRig& rig, int limit) {
    for (int n = 1; n <= limit; ++n)
        if (rig.frame()) return n;
    return -1;
}

// Delivers `count` events of `deliver` in the wait of the next frame only.
void in_next_wait(SceneRig& rig, int count, void (*deliver)(Scene&)) {
    rig.system.on_pump = [&rig, count, deliver, done = false]() mutable {
        if (done) return;
        for (int i = 0; i < count; ++i) deliver(rig.app->scene);
        done = true;
    };
}

class SceneLoop : public ::testing::Test {
protected:
    void SetUp() override {
        rig.store.set("scroller_active", "0");  // no caption moves, so the plain input limit applies
        rig.start();
    }
    SceneRig rig;
};

TEST_F(SceneLoop, AFrameWaitsOnceForItsWholeRestUnlessATimerFallsDueFirst) {
    rig.system.pump_rounds = 0;
    for (int n = 0; n < 20; ++n) ASSERT_FALSE(rig.frame());
    EXPECT_EQ(rig.system.pump_rounds, 20);
    EXPECT_EQ(rig.system.longest_wait, rig.app->scene.run.frame_delay);
    // A timer due inside the frame splits its wait in two, at the moment the timer falls due.
    Scene& scene = rig.app->scene;
    scene.timers.audio_enabled = true;
    scene.timers.audio_due = static_cast<std::int32_t>(rig.system.clock_ms) + 10;
    rig.system.pump_rounds = 0;
    ASSERT_FALSE(rig.frame());
    EXPECT_EQ(rig.system.pump_rounds, 2);
    EXPECT_EQ(scene.timers.audio_due, static_cast<std::int32_t>(rig.system.clock_ms) - scene.run.frame_delay + 10 +
                                          scene.timers.audio_interval);
}

TEST_F(SceneLoop, TwentyTwoMovesInABlockAreForgivenTheTwentyThirdEndsTheScene) {
    in_next_wait(rig, 22, ascreen_MouseMove);
    EXPECT_EQ(run_until_stop(rig, 100), -1);
    in_next_wait(rig, 23, ascreen_MouseMove);
    EXPECT_EQ(run_until_stop(rig, 1), 1);
}

TEST_F(SceneLoop, InputIsForgottenAtEachBlockBoundary) {
    // Fifteen moves at the end of one block and fifteen at the start of the next: thirty within
    // thirty frames, but never more than the limit within one block.
    ASSERT_EQ(rig.app->scene.run.frame_counter, 0);
    for (int frame = 0; frame < 160; ++frame) {
        if (frame >= 65 && frame < 95) in_next_wait(rig, 1, ascreen_MouseMove);
        ASSERT_FALSE(rig.frame()) << frame;
    }
}

TEST_F(SceneLoop, AKeyEndsTheFrameItArrivesInEvenOnABlocksLastFrame) {
    // Bring the block to its last frame, then press a key in that frame's wait.
    while (rig.app->scene.run.frame_counter != frames_per_input_block - 1) ASSERT_FALSE(rig.frame());
    in_next_wait(rig, 1, do_keypress);
    EXPECT_TRUE(rig.frame());
}

TEST_F(SceneLoop, MovesOfABlocksLastFrameCountInThatBlock) {
    while (rig.app->scene.run.frame_counter != frames_per_input_block - 2) ASSERT_FALSE(rig.frame());
    in_next_wait(rig, 12, ascreen_MouseMove);
    ASSERT_FALSE(rig.frame());
    in_next_wait(rig, 11, ascreen_MouseMove);
    EXPECT_TRUE(rig.frame());
}

TEST_F(SceneLoop, WithThePasswordSwitchOnInputShowsOnePromptAndTheFramesGoOn) {
    rig.registry.set_string(RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword", "1");
    rig.app->settings.plain_password = "Secret";
    in_next_wait(rig, 1, do_keypress);
    EXPECT_FALSE(rig.frame());
    EXPECT_EQ(rig.window.prompts_shown, 1);
    EXPECT_EQ(rig.app->scene.run.password_prompt_up, 1);
    EXPECT_GE(rig.system.cursor_counter, 0);  // the pointer is shown for the prompt
    in_next_wait(rig, 1, do_keypress);
    EXPECT_FALSE(rig.frame());
    EXPECT_EQ(rig.window.prompts_shown, 1);

    EXPECT_FALSE(password_prompt_check(rig.app->scene, "secreT!"));
    EXPECT_EQ(rig.app->scene.run.password_prompt_up, 1);
    EXPECT_TRUE(password_prompt_check(rig.app->scene, "sEcReT"));
    EXPECT_FALSE(rig.window.prompt_up);
    EXPECT_LT(rig.system.cursor_counter, 0);
    EXPECT_TRUE(rig.frame());
}

TEST_F(SceneLoop, ACancelledOrTimedOutPromptRepaintsAndInputMustBuildUpAgain) {
    rig.registry.set_dword(RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    in_next_wait(rig, 1, do_keypress);
    rig.frame();
    ASSERT_EQ(rig.app->scene.run.password_prompt_up, 1);
    password_prompt_cancel(rig.app->scene);
    EXPECT_EQ(rig.app->scene.run.repaint_request, 1);
    EXPECT_FALSE(rig.frame());
    EXPECT_EQ(rig.app->scene.run.repaint_request, 0);

    in_next_wait(rig, 1, do_keypress);
    rig.frame();
    ASSERT_EQ(rig.window.prompts_shown, 2);
    // Twenty seconds later the prompt closes itself and the scene goes on.
    const std::uint32_t shown_at = rig.system.clock_ms;
    int frames = 0;
    while (rig.app->scene.run.password_prompt_up == 1 && frames < 1000) {
        ASSERT_FALSE(rig.frame());
        ++frames;
    }
    EXPECT_EQ(rig.app->scene.run.password_prompt_up, 0);
    EXPECT_GE(rig.system.clock_ms - shown_at, 20000u);
    EXPECT_LE(rig.system.clock_ms - shown_at, 20000u + 45u);
    EXPECT_EQ(rig.app->scene.run.input_count, 0);
}

TEST_F(SceneLoop, AnEmptyPasswordIsAcceptedByAnEmptyEntry) {
    rig.app->settings.plain_password = "";
    rig.app->scene.run.password_prompt_up = 1;
    EXPECT_TRUE(password_prompt_check(rig.app->scene, ""));
    EXPECT_EQ(rig.app->scene.run.exit_requested, 1);
}

// The background changes as a step of the frame, once, after the motion pass and before the sprites
// are drawn: the frame that changes it shows the new picture with no sprite left on it.
TEST_F(SceneLoop, ADueBackgroundChangeIsOneStepOfTheFrame) {
    Scene& scene = rig.app->scene;
    for (int n = 0; n < 40; ++n) rig.frame();
    const std::int32_t before = scene.rotation.current_picture;
    scene.rotation.rotation_count = scene.run.rotation_period;
    rig.frame();
    EXPECT_EQ(scene.rotation.current_picture, (before + 1) % 10);
    EXPECT_EQ(scene.rotation.rotation_count, 0);
    for (int slot = 1; slot <= scene.sprites.max_sprites; ++slot) EXPECT_EQ(scene.sprites.slot[slot].active, 0) << slot;
    const Surface& shown = rig.display.screen;
    const Surface& clean = scene.surfaces.background_copy;
    ASSERT_EQ(shown.width(), clean.width());
    ASSERT_EQ(shown.height(), clean.height());
    EXPECT_TRUE(std::equal(shown.data(), shown.data() + shown.width() * shown.height(), clean.data()));
    rig.frame();
    EXPECT_EQ(scene.rotation.current_picture, (before + 1) % 10);
}

TEST(PasswordCase, UpperCasingFollowsTheWesternCodePage) {
    EXPECT_EQ(upper_case_ansi("abc xyz 123 !"), "ABC XYZ 123 !");
    EXPECT_EQ(upper_case_ansi("\xE9\xE0\xFF\xF7"), "\xC9\xC0\x9F\xF7");
}

TEST(PasswordCase, ThePromptComparesByTheSystemsCaseRules) {
    SceneRig rig;
    rig.start();
    // A system whose code page upper-cases 0xF2 to 0xD3 (as a Greek one does with the final sigma),
    // where the Western table would give 0xD2.
    rig.system.case_rules = [](std::string_view text) {
        std::string upper(text);
        for (char& c : upper) {
            if (c == '\xF2') c = '\xD3';
            else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        }
        return upper;
    };
    rig.app->settings.plain_password = "\xD3x";
    EXPECT_TRUE(password_prompt_check(rig.app->scene, "\xF2X"));
    rig.app->settings.plain_password = "\xD2x";
    EXPECT_FALSE(password_prompt_check(rig.app->scene, "\xF2X"));
}

TEST(SceneStop, AnOutsideCloseIsRefusedThenTheLoopStopsInOrderAndSavesTheWallpaperOnce) {
    SceneRig rig;
    rig.store.set("save_as_wallpaper", "1");
    rig.store.set("scroller_active", "0");
    int rounds = 0;
    rig.system.on_pump = [&] {
        if (++rounds == 30) scene_close_request(rig.app->scene);
    };
    Form_Load(rig.app->scene);
    EXPECT_LT(rig.system.cursor_counter, 0);
    Form_Activate(rig.app->scene);  // runs the loop until the scene has stopped
    EXPECT_FALSE(rig.app->scene.run.saver_running);
    EXPECT_EQ(rig.window.destroyed, 1);
    EXPECT_GE(rig.system.cursor_counter, 0);
    EXPECT_TRUE(std::filesystem::exists(wallpaper_path(rig.app->scene)));
    int wallpapers = 0;
    for (const auto& call : rig.system.calls) wallpapers += call.kind == headless::SystemCall::Kind::wallpaper ? 1 : 0;
    EXPECT_EQ(wallpapers, 1);
    // The screen-saver state is given back last: running off, then screen saving on again.
    ASSERT_GE(rig.system.calls.size(), 4u);
    EXPECT_EQ(rig.system.calls.front().state, SaverState::running);
    EXPECT_TRUE(rig.system.calls.front().on);
}

TEST(SceneStop, AProtectedSceneTakesACloseRequestAsAKeyButEndsWhenTheSessionEnds) {
    SceneRig rig;
    rig.registry.set_string(RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword", "1");
    rig.app->settings.plain_password = "Secret";
    rig.start();
    rig.system.on_pump = [&rig, done = false]() mutable {
        if (!std::exchange(done, true)) scene_close_request(rig.app->scene);
    };
    EXPECT_FALSE(rig.frame());
    EXPECT_TRUE(rig.app->scene.run.saver_running);
    EXPECT_EQ(rig.app->scene.run.password_prompt_up, 1);
    EXPECT_EQ(rig.window.prompts_shown, 1);
    rig.system.on_pump = [&rig, done = false]() mutable {
        if (!std::exchange(done, true)) scene_end_request(rig.app->scene);
    };
    rig.frame();
    EXPECT_FALSE(rig.app->scene.run.saver_running);
}

TEST(SceneStop, WithoutAPasswordOrInATestRunACloseRequestEndsTheScene) {
    for (const bool test_run : {false, true}) {
        SceneRig rig;
        if (test_run) {
            rig.registry.set_string(RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword", "1");
            rig.app->scene.run.test_mode = 1;
        }
        rig.start();
        scene_close_request(rig.app->scene);
        EXPECT_FALSE(rig.app->scene.run.saver_running) << test_run;
        EXPECT_EQ(rig.window.prompts_shown, 0) << test_run;
    }
}

TEST(SceneStop, AKeyInATestRunEndsItWithoutAPassword) {
    SceneRig rig;
    rig.registry.set_string(RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword", "1");
    rig.app->scene.run.test_mode = 1;
    rig.start();
    EXPECT_FALSE(rig.window.topmost);
    in_next_wait(rig, 1, do_keypress);
    EXPECT_TRUE(rig.frame());
    EXPECT_EQ(rig.window.prompts_shown, 0);
}

class SceneAudio : public ::testing::Test {
protected:
    void SetUp() override {
        testing::write_file(rig.dir.path() / "tune.mid", "MThd");
        testing::write_file(rig.dir.path() / "ping.WAV", "RIFF");
        rig.store.set("scroller_active", "0");
    }
    void use_list(const std::string& lines) {
        rig.start();
        testing::write_file(rig.dir.path() / "Kolvane Audio Files.dat", lines);
        load_audio_list(rig.app->startup.windows_dir, rig.app->lists);
    }
    SceneRig rig;
};

TEST_F(SceneAudio, TheFirstStartComesAudioSecondsAfterTheSetUp) {
    use_list((rig.dir.path() / "tune.mid").string() + "\r\n");
    const std::uint32_t start = rig.system.clock_ms;
    while (rig.midi.played.empty() && rig.system.clock_ms - start < 20000) rig.frame();
    ASSERT_EQ(rig.midi.played.size(), 1u);
    EXPECT_GE(rig.system.clock_ms - start, 15000u);
    EXPECT_LE(rig.system.clock_ms - start, 15000u + 45u);
    EXPECT_EQ(rig.midi.device_type, "Sequencer");
    EXPECT_TRUE(rig.wav.played.empty());
}

TEST_F(SceneAudio, WavFilesGoToTheirChannelAndABusyChannelDropsTheRequest) {
    use_list((rig.dir.path() / "ping.WAV").string() + "\r\n");
    rig.wav.reports_per_file = 1000000;  // plays on and on
    while (rig.system.clock_ms < 5000 + 61000) rig.frame();
    EXPECT_EQ(rig.wav.played.size(), 1u);
    EXPECT_EQ(rig.wav.device_type, "WaveAudio");
    EXPECT_EQ(rig.app->scene.audio.wav_busy, 1);
}

TEST_F(SceneAudio, AMissingFileFreesItsChannelAtTheNextStatusReport) {
    use_list((rig.dir.path() / "gone.wav").string() + "\r\n");
    Timer1_Timer(rig.app->scene);
    EXPECT_EQ(rig.app->scene.audio.wav_busy, 1);
    rig.frame();
    EXPECT_EQ(rig.app->scene.audio.wav_busy, 0);
}

TEST_F(SceneAudio, TimersKeepTheirTimeDuringABackgroundChange) {
    use_list((rig.dir.path() / "tune.mid").string() + "\r\n");
    Scene& scene = rig.app->scene;
    const std::int32_t now = static_cast<std::int32_t>(rig.system.clock_ms);
    scene.timers.audio_due = now + 100;
    scene.run.password_prompt_up = 1;
    password_prompt_load(scene);
    scene.timers.prompt_due = now + 700;
    // Rows from both edges: half the screen's height in steps of 6 ms, far longer than either.
    blit_effect(scene, scene.surfaces.background_copy, scene.surfaces.ascreen, 2);
    ASSERT_GT(rig.system.clock_ms - static_cast<std::uint32_t>(now), 1000u);
    ASSERT_EQ(rig.midi.played.size(), 1u);
    EXPECT_EQ(scene.timers.audio_due, now + 100 + scene.timers.audio_interval);
    EXPECT_FALSE(scene.timers.prompt_enabled);
    EXPECT_EQ(scene.run.password_prompt_up, 0);
}

TEST_F(SceneAudio, NothingPlaysWithAudioOffAndOffClosesNothing) {
    rig.store.set("audio_on", "0");
    use_list((rig.dir.path() / "tune.mid").string() + "\r\n");
    while (rig.system.clock_ms < 5000 + 31000) rig.frame();
    EXPECT_TRUE(rig.midi.played.empty());
    rig.midi.commands.clear();
    audio_off(rig.app->scene);
    EXPECT_TRUE(rig.midi.commands.empty());
}

TEST(AudioFiles, ChannelByTheLastThreeLetters) {
    EXPECT_TRUE(is_wav_file("a.wav"));
    EXPECT_TRUE(is_wav_file("C:\\A.Wav"));
    EXPECT_FALSE(is_wav_file("a.mid"));
    EXPECT_FALSE(is_wav_file("a.rmi"));
    EXPECT_FALSE(is_wav_file("av"));
}

TEST(ScenePeriods, ProductsOfHugeSettingsStayInRange) {
    SceneRig rig;
    rig.app->settings.scroller_delay = 2000000000;
    rig.app->settings.cycle_speed_value = 13;
    rig.app->settings.object_frequency = -2000000000;
    derive_scene_periods(rig.app->scene);
    EXPECT_EQ(rig.app->scene.run.scroller_period, 2147483647);
    EXPECT_EQ(rig.app->scene.run.rotation_period, 1040);
    EXPECT_EQ(rig.app->scene.run.launch_interval, -2147483647 - 1);
}

}  // namespace
}  // namespace kolvane
