// The scene window on SDL's dummy video: which events count as input, the prompt's keys, close requests, the wait, a whole scene.
#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/linux_system.h"
#include "platform/sdl/overlay_boxes.h"
#include "platform/sdl/password_box.h"
#include "platform/sdl/screen_layers.h"
#include "platform/sdl/sdl_scene_window.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

SDL_Keysym keysym(SDL_Keycode sym) {
    SDL_Keysym k{};
    k.sym = sym;
    return k;
}

TEST(KeyPresses, OnlyKeysThatTypeSomethingCount) {
    for (const SDL_Keycode k : std::initializer_list<SDL_Keycode>{SDLK_a, SDLK_SPACE, SDLK_RETURN, SDLK_ESCAPE,
                                                                  SDLK_BACKSPACE, SDLK_TAB, SDLK_5, SDLK_KP_5,
                                                                  SDLK_KP_ENTER, 0xE9})
        EXPECT_TRUE(types_character(keysym(k))) << k;
    for (const SDL_Keycode k : std::initializer_list<SDL_Keycode>{SDLK_LSHIFT, SDLK_RCTRL, SDLK_F1, SDLK_LEFT,
                                                                  SDLK_DELETE, SDLK_CAPSLOCK, SDLK_UNKNOWN})
        EXPECT_FALSE(types_character(keysym(k))) << k;
}

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class SceneWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0) << SDL_GetError();
        system.set_dpi({96.0, 96.0});
        system.set_scene_size(320, 240);
        fonts = std::make_unique<SceneFonts>(96, 96);
        prompt = std::make_unique<PasswordBox>(app.scene, layers, *fonts, 96);
        window = std::make_unique<SdlSceneWindow>(app, system, layers, *prompt, nullptr);
        app.platform.display = &layers;
        app.platform.scene_window = window.get();
        ASSERT_TRUE(window->open(SceneHost::window, 0, {0, 0, 320, 240})) << SDL_GetError();
        system.set_event_sink(window.get());
        window_id = SDL_GetWindowID(window->sdl_window());
    }
    void TearDown() override {
        system.set_event_sink(nullptr);
        window.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
        unsetenv("SDL_VIDEODRIVER");
    }
    void push(SDL_Event event) { SDL_PushEvent(&event); }
    void push_key(SDL_Keycode sym) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = window_id;
        e.key.keysym = keysym(sym);
        push(e);
    }
    void push_motion(std::uint32_t id) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = id;
        push(e);
    }

    LinuxSystem system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    App app{Platform{system, store, registry}};
    std::unique_ptr<SceneFonts> fonts;
    ScreenLayers layers;
    std::unique_ptr<PasswordBox> prompt;
    std::unique_ptr<SdlSceneWindow> window;
    std::uint32_t window_id = 0;
};

TEST_F(SceneWindowTest, AKeyThatTypesLiftsTheCountAboveTheLimit) {
    push_key(SDLK_LSHIFT);
    push_key(SDLK_F5);
    system.pump_events(0);
    EXPECT_EQ(app.scene.run.input_count, 0);
    push_key(SDLK_q);
    system.pump_events(0);
    EXPECT_EQ(app.scene.run.input_count, app.scene.run.input_limit + 1);
}

TEST_F(SceneWindowTest, EachMouseMoveOverTheSceneCountsOnce) {
    for (int i = 0; i < 5; ++i) push_motion(window_id);
    push_motion(window_id + 100);  // over some other window
    system.pump_events(0);
    EXPECT_EQ(app.scene.run.input_count, 5);
}

TEST_F(SceneWindowTest, KeysTypedIntoThePromptAreNotSceneInput) {
    app.settings.plain_password = "secret";
    window->show_password_prompt();
    for (int i = 0; i < 30; ++i) {
        push_key(SDLK_x);
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.windowID = window_id;
        std::strcpy(text.text.text, "x");
        push(text);
    }
    system.pump_events(0);
    EXPECT_EQ(app.scene.run.input_count, 0);
    EXPECT_EQ(prompt->typed(), std::string(30, 'x'));
    window->close_password_prompt();
    EXPECT_FALSE(prompt->visible());
}

TEST_F(SceneWindowTest, AQuitRequestStopsTheSceneInOrder) {
    app.scene.run.saver_running = true;
    app.scene.run.unload_locked = 1;
    system.show_cursor(false);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
    system.pump_events(0);
    // The unload is refused, but the scene has let go of everything and stops at its next frame.
    EXPECT_FALSE(app.scene.run.saver_running);
    EXPECT_EQ(app.scene.run.unload_locked, 1);
    EXPECT_GE(system.show_cursor(true), 1);
}

TEST_F(SceneWindowTest, TheWaitSleepsInsteadOfSpinning) {
    system.pump_events(0);  // what opening the window queued
    const double cpu_before = cpu_seconds();
    const std::uint64_t asleep_before = system.sleeping_ms();
    const std::uint32_t start = system.time_get_time();
    system.pump_events(300);
    const std::uint32_t waited = system.time_get_time() - start;
    EXPECT_GE(waited, 290u);
    EXPECT_GE(system.sleeping_ms() - asleep_before, 290u);
    // A wait that polled without sleeping would burn the whole 300 milliseconds.
    EXPECT_LT(cpu_seconds() - cpu_before, 0.15);
}

TEST_F(SceneWindowTest, DrawingReachesTheWindowAtTheNextRound) {
    const Surface scene(320, 240, 0x445566u);
    layers.present(scene, 10, 10, 50, 50);
    EXPECT_TRUE(layers.has_dirty());
    system.pump_events(0);
    EXPECT_FALSE(layers.has_dirty());
    const SDL_Surface* surface = layers.target();
    ASSERT_NE(surface, nullptr);
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(surface->pixels) + 20 * surface->pitch);
    EXPECT_EQ(row[20] & 0xFFFFFFu, 0x445566u);
}

Uint32 press_a_key(Uint32, void* param) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = *static_cast<std::uint32_t*>(param);
    e.key.keysym = keysym(SDLK_SPACE);
    SDL_PushEvent(&e);
    return 0;
}

TEST_F(SceneWindowTest, AWholeSceneRunsUntilAKeyEndsIt) {
    testing::TempDir dir;
    store.set("install_path", dir.folder());
    store.set("frame_rate", "20");
    app.startup.windows_dir = dir.folder();
    app.scene.run.test_mode = 1;  // a scene in the program's own window, as --window runs it
    app.scene.run.saver_running = true;
    FolderPictures none(dir.folder());  // no pictures: the scene runs on black ones
    load_scene_pictures(app.scene, none);
    SDL_AddTimer(600, press_a_key, &window_id);
    const std::uint32_t start = system.time_get_time();
    run_scene_window(app.scene);
    const std::uint32_t ran = system.time_get_time() - start;
    EXPECT_FALSE(app.scene.run.saver_running);
    EXPECT_FALSE(window->is_open());
    EXPECT_GE(ran, 550u);
    EXPECT_LT(ran, 3000u);
    // About 30 frames of 20 ms ran before the key: the block counter moved on.
    EXPECT_GT(app.scene.run.frame_counter, 10);
    EXPECT_GE(system.show_cursor(true), 1);  // the pointer was shown again
}

}  // namespace
}  // namespace kolvane::sdl
