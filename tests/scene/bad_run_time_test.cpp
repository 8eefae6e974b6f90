// A table of hostile conditions met while the scene runs: it keeps drawing, keeps its books and still ends on a key.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "lists/lists.h"
#include "scene/audio.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"
#include "tests/scene/scene_fixture.h"
#include "tests/scene/scene_invariants.h"

namespace kolvane {
namespace {

using testing::SceneRig;

// Pictures of every wrong kind: backgrounds missing or of the wrong size, a sheet too small for its frames.
class WrongPictures : public PictureSource {
public:
    std::optional<Image> picture(std::string_view name) override {
        if (name == "bg0" || name == "mask") return std::nullopt;
        if (name == "bg1") return Image(1, 1, 0xFFFFFFu);
        if (name == "bg2") return Image(background_picture_width * 3, 2, 0x123456u);
        if (name == "sprite") return Image(sheet_width / 2, sheet_height / 2, 0x808080u);
        return Image(background_picture_width, background_picture_height, 0x202040u);
    }
};

struct RunTimeRow {
    const char* what;
    int width = 640;
    int height = 480;
    std::function<void(SceneRig&)> before_start;  // settings, lists and clocks; the pictures are loaded already
};

void write_list(SceneRig& rig, const char* name, const std::string& text) {
    testing::write_file(rig.dir.path() / name, text);
}

TEST(BadRunTime, TheSceneRunsOnAndEndsOnAKeyWhateverItMeets) {
    std::string control_and_broken;
    for (int c = 1; c < 32; ++c) control_and_broken += static_cast<char>(c);
    control_and_broken += "\x7f\xc3\x28\xe2\x82\xf0\x9f\x98\xc0\xaf\xff\xfe";  // cut and overlong sequences
    std::string missing_sounds;
    for (int i = 0; i < max_audio_files; ++i)
        missing_sounds += std::string(4000, 'm') + std::to_string(i) + (i % 2 ? ".wav" : ".mid") + "\r\n";

    const std::vector<RunTimeRow> rows = {
        {"a caption of 100,000 characters", 640, 480,
         [](SceneRig& rig) { write_list(rig, caption_list_name, "\"" + std::string(100000, 'W') + "\"\r\n"); }},
        {"captions of control characters and broken multi-byte text", 640, 480,
         [&](SceneRig& rig) { write_list(rig, caption_list_name, "\"" + control_and_broken + "\"\r\n,\r\n"); }},
        {"500 sounds that do not exist, with names of 4,000 characters", 640, 480,
         [&](SceneRig& rig) {
             write_list(rig, audio_list_name, missing_sounds);
             rig.store.set("audio_seconds", "1");
         }},
        {"the millisecond clock passing the sign of 32 bits", 640, 480,
         [](SceneRig& rig) { rig.system.clock_ms = 0x7FFFF000u; }},
        {"the millisecond clock wrapping round to 0", 640, 480,
         [](SceneRig& rig) { rig.system.clock_ms = 0xFFFFF000u; }},
        {"every setting at its busiest", 640, 480,
         [](SceneRig& rig) {
             for (const char* key : {"scroller_delay", "cycle_speed_value", "object_frequency", "audio_seconds"})
                 rig.store.set(key, "1");
             rig.store.set("frame_rate", "5");
         }},
        {"pictures missing, of the wrong size, a sheet too small", 640, 480,
         [](SceneRig& rig) {
             WrongPictures pictures;
             load_scene_pictures(rig.app->scene, pictures);
         }},
        {"a host window of one pixel", 1, 1, nullptr},
        {"a host window smaller than a sprite", 17, 9, nullptr},
        {"a screen one row high and 4,000 wide", 4000, 1, nullptr},
    };
    for (const RunTimeRow& row : rows) {
        SCOPED_TRACE(row.what);
        SceneRig rig(row.width, row.height);
        rig.store.set("cycle_speed_value", "1");  // a background change comes within the run
        if (row.before_start) row.before_start(rig);
        load_caption_list(rig.app->startup.windows_dir, rig.app->lists);
        load_audio_list(rig.app->startup.windows_dir, rig.app->lists);
        rig.start();
        const std::uint32_t started = rig.system.clock_ms;
        for (int frame = 1; frame <= 1500; ++frame) {
            ASSERT_FALSE(rig.frame()) << "frame " << frame;
            ASSERT_EQ(testing::sprite_table_fault(*rig.app), "") << "frame " << frame;
        }
        // No wait held input longer than the longest frame period the options offer.
        EXPECT_LE(rig.system.longest_wait, 200);
        // The simulated time went on at the frame period: nothing stalled or raced.
        EXPECT_GE(rig.system.clock_ms - started, 1500u * static_cast<std::uint32_t>(rig.app->scene.run.frame_delay));
        EXPECT_LE(rig.system.clock_ms - started, 1500u * static_cast<std::uint32_t>(rig.app->scene.run.frame_delay) + 60000u);
        rig.system.on_pump = [&rig, done = false]() mutable {
            if (!done) do_keypress(rig.app->scene);
            done = true;
        };
        EXPECT_TRUE(rig.frame()) << "a key did not end the scene";
    }
}

}  // namespace
}  // namespace kolvane
