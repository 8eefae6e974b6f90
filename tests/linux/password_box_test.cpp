// The password prompt box: typing, Enter, Ok and Cancel, focus, the wrong-password message, and the box on the window.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>

#include "app/app.h"
#include "platform/sdl/password_box.h"
#include "scene/password_prompt.h"
#include "scene/scene_window.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

// The scene window as far as the prompt needs it: closing the prompt hides the box.
class PromptWindow : public FullScreenWindow {
public:
    explicit PromptWindow(PasswordBox*& box) : box_(box) {}
    void set_mouse_position(int, int) override {}
    void make_topmost(int, int, int, int) override {}
    void redraw() override {}
    void show_password_prompt() override { box_->show(); }
    void close_password_prompt() override { box_->hide(); }
    void destroy() override {}

private:
    PasswordBox*& box_;
};

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

class PasswordBoxTest : public ::testing::Test {
protected:
    PasswordBoxTest() : window(box_ptr) {}
    void SetUp() override {
        if (sans_font_file(false).empty()) GTEST_SKIP() << "Liberation Sans is not installed";
        target.reset(SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_RGB888));
        layers.attach(target.get());
        layers.present(scene, 0, 0, 800, 600);
        fonts = std::make_unique<SceneFonts>(96, 96);
        box = std::make_unique<PasswordBox>(t.app.scene, layers, *fonts, 96);
        box_ptr = box.get();
        t.app.platform.scene_window = &window;
        t.app.scene.run.saver_running = true;
    }
    // What the scene does when the input test fires with the password switch on.
    void prompt_comes_up() {
        t.app.scene.run.password_prompt_up = 1;
        window.show_password_prompt();
        password_prompt_load(t.app.scene);
    }
    void type(const char* utf8) { box->text_input(utf8); }
    void press(SDL_Keycode key, Uint16 modifiers = 0) { box->key(key, modifiers); }
    std::uint32_t rgb_at(int x, int y) const {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(target->pixels) + y * target->pitch);
        return row[x] & 0xFFFFFFu;
    }

    testing::TestApp t;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> target;
    ScreenLayers layers;
    Surface scene{800, 600, 0x102030u};
    std::unique_ptr<SceneFonts> fonts;
    std::unique_ptr<PasswordBox> box;
    PasswordBox* box_ptr = nullptr;
    PromptWindow window;
};

TEST_F(PasswordBoxTest, ShowsCentredAboveTheSceneWithAnEmptyEntry) {
    prompt_comes_up();
    ASSERT_TRUE(box->visible());
    const SDL_Rect r = box->box_rect();
    EXPECT_EQ(r.x, (800 - r.w) / 2);
    EXPECT_EQ(r.y, (600 - r.h) / 2);
    EXPECT_EQ(rgb_at(r.x + r.w / 2, r.y + 5), 0x000080u);              // title bar
    EXPECT_EQ(rgb_at(r.x + 4, r.y + r.h - 4), 0xC0C0C0u);              // face
    const SDL_Rect entry = box->entry_rect();
    EXPECT_EQ(rgb_at(entry.x + entry.w - 4, entry.y + entry.h / 2), 0xFFFFFFu);
    EXPECT_TRUE(box->typed().empty());
    EXPECT_EQ(box->focus(), PromptFocus::entry);
    EXPECT_EQ(rgb_at(5, 5), 0x102030u);
}

TEST_F(PasswordBoxTest, TheRightPasswordInAnyCaseEndsTheScene) {
    t.app.settings.plain_password = "Orbit7";
    prompt_comes_up();
    type("oRBIT");
    type("7");
    EXPECT_EQ(box->typed(), "oRBIT7");
    press(SDLK_RETURN);
    EXPECT_EQ(t.app.scene.run.exit_requested, 1);
    EXPECT_EQ(t.app.scene.run.password_prompt_up, 0);
    EXPECT_FALSE(box->visible());
    EXPECT_TRUE(t.system.boxes.empty());
    // The box has gone from the window: the scene shows there again.
    EXPECT_EQ(rgb_at(400, 300), 0x102030u);
}

TEST_F(PasswordBoxTest, AWrongPasswordIsClearedAndRefusedWithTheMessage) {
    t.app.settings.plain_password = "orbit";
    prompt_comes_up();
    type("orbi");
    press(SDLK_KP_ENTER);
    ASSERT_EQ(t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(t.system.boxes[0]), wrong_password_text);
    EXPECT_EQ(std::get<1>(t.system.boxes[0]), "Passwords");
    EXPECT_EQ(std::get<2>(t.system.boxes[0]), MessageKind::warning);
    EXPECT_TRUE(box->visible());
    EXPECT_TRUE(box->typed().empty());
    EXPECT_EQ(box->focus(), PromptFocus::entry);
    EXPECT_EQ(t.app.scene.run.password_prompt_up, 1);
    EXPECT_EQ(t.app.scene.run.exit_requested, 0);
    type("orbit");
    press(SDLK_RETURN);
    EXPECT_EQ(t.app.scene.run.exit_requested, 1);
}

// Characters the code page lacks (typed on a Russian layout) become stand-ins that match nothing, not even a
// password of question marks; Backspace takes the stand-in away with its character.
TEST_F(PasswordBoxTest, CharactersTheCodePageLacksMatchNoPassword) {
    struct Row {
        const char* password;
        const char* typed;  // UTF-8
        std::size_t erased;
        bool ends;
    };
    for (const Row& row : {Row{"??????", "\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C", 0, false},
                           Row{"A?", "a\xD0\xB6", 0, false}, Row{"A?", "a?", 0, true},
                           Row{"AB", "a\xD0\xB6" "b", 0, false}, Row{"A", "a\xD0\xB6", 1, true},
                           Row{"CAF\xC9", "caf\xC3\xA9", 0, true}}) {
        SCOPED_TRACE(row.typed);
        t.app.scene.run.exit_requested = 0;
        t.system.boxes.clear();
        t.app.settings.plain_password = row.password;
        prompt_comes_up();
        type(row.typed);
        for (std::size_t i = 0; i < row.erased; ++i) press(SDLK_BACKSPACE);
        press(SDLK_RETURN);
        EXPECT_EQ(t.app.scene.run.exit_requested, row.ends ? 1 : 0);
        EXPECT_EQ(t.system.boxes.size(), row.ends ? 0u : 1u);
        if (!row.ends) password_prompt_cancel(t.app.scene);
    }
}

TEST_F(PasswordBoxTest, BackspaceTabSpaceAndEscape) {
    t.app.settings.plain_password = "ab";
    prompt_comes_up();
    type("abc");
    press(SDLK_BACKSPACE);
    EXPECT_EQ(box->typed(), "ab");
    press(SDLK_ESCAPE);  // no cancel key
    EXPECT_TRUE(box->visible());
    press(SDLK_TAB);
    EXPECT_EQ(box->focus(), PromptFocus::ok);
    type("zz");  // typing goes nowhere while a button has the focus
    EXPECT_EQ(box->typed(), "ab");
    press(SDLK_TAB);
    EXPECT_EQ(box->focus(), PromptFocus::cancel);
    press(SDLK_TAB, KMOD_LSHIFT);
    EXPECT_EQ(box->focus(), PromptFocus::ok);
    press(SDLK_TAB, KMOD_LSHIFT);
    press(SDLK_TAB, KMOD_LSHIFT);
    EXPECT_EQ(box->focus(), PromptFocus::cancel);
    press(SDLK_SPACE);  // Cancel: the prompt closes, the scene goes on
    EXPECT_FALSE(box->visible());
    EXPECT_EQ(t.app.scene.run.exit_requested, 0);
    EXPECT_EQ(t.app.scene.run.password_prompt_up, 0);
    EXPECT_EQ(t.app.scene.run.repaint_request, 1);
    EXPECT_EQ(t.app.scene.run.input_count, 0);
}

TEST_F(PasswordBoxTest, ClicksOnOkAndCancel) {
    t.app.settings.plain_password = "";
    prompt_comes_up();
    const SDL_Rect cancel = box->cancel_rect();
    box->click(cancel.x + 2, cancel.y + 2);
    EXPECT_FALSE(box->visible());
    EXPECT_EQ(t.app.scene.run.exit_requested, 0);

    prompt_comes_up();
    const SDL_Rect ok = box->ok_rect();
    box->click(ok.x + ok.w / 2, ok.y + ok.h / 2);  // an empty password and an empty entry
    EXPECT_EQ(t.app.scene.run.exit_requested, 1);
}

TEST_F(PasswordBoxTest, CharactersBeyondAsciiCompareByTheCodePagesCaseRules) {
    t.app.settings.plain_password = "\xE9t\xE9";  // été, as the password is kept
    prompt_comes_up();
    type("\xC3\x89T\xC3\x89");  // ÉTÉ typed
    press(SDLK_RETURN);
    EXPECT_EQ(t.app.scene.run.exit_requested, 1);
}

TEST_F(PasswordBoxTest, TheTimeLimitClosesTheBox) {
    prompt_comes_up();
    type("x");
    // A frame wait that lasts past the limit: the scene's timer closes the prompt inside it.
    t.app.scene.run.frame_start = static_cast<std::int32_t>(t.system.clock_ms);
    t.app.scene.run.frame_delay = password_prompt_timeout_ms - 1;
    frame_wait(t.app.scene);
    EXPECT_TRUE(box->visible());
    t.app.scene.run.frame_start = static_cast<std::int32_t>(t.system.clock_ms);
    t.app.scene.run.frame_delay = 10;
    frame_wait(t.app.scene);
    EXPECT_FALSE(box->visible());
    EXPECT_EQ(t.app.scene.run.password_prompt_up, 0);
    EXPECT_EQ(t.app.scene.run.exit_requested, 0);
    EXPECT_EQ(rgb_at(400, 300), 0x102030u);
}

}  // namespace
}  // namespace kolvane::sdl
