// The scene window: set-up, the timed frame loop, input counting and the orderly stop.
#include "scene/scene_window.h"

#include <algorithm>
#include <limits>

#include "lists/lists.h"
#include "scene/audio.h"
#include "scene/password_prompt.h"
#include "scene/render/compositor.h"
#include "scene/render/overlays.h"
#include "scene/render/rotation.h"
#include "scene/render/wallpaper.h"
#include "scene/scene.h"
#include "scene/scene_pictures.h"
#include "scene/sprites/motion.h"
#include "scene/sprites/sprite_table.h"
#include "scene/timers.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

std::int32_t clamped_product(std::int64_t a, std::int64_t b) {
    const std::int64_t p = a * b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(p, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

SystemApi& sys(Scene& scene) { return scene.platform.system; }

void start_audio_timer(Scene& scene) {
    // A zero interval leaves the timer off; a day is far beyond any interval the options offer.
    const std::int64_t interval = std::min<std::int64_t>(std::int64_t{scene.settings.audio_seconds} * 1000, 86400000);
    scene.timers.audio_enabled = interval > 0;
    scene.timers.audio_interval = static_cast<std::int32_t>(std::max<std::int64_t>(interval, 0));
    scene.timers.audio_due = ticks_add(get_ticks(sys(scene)), scene.timers.audio_interval);
}

void show_password_prompt(Scene& scene) {
    scene.run.password_prompt_up = 1;
    if (scene.platform.scene_window) scene.platform.scene_window->show_password_prompt();
    password_prompt_load(scene);
}

}  // namespace

void derive_scene_periods(Scene& scene) {
    scene.run.scroller_period = clamped_product(scene.settings.scroller_delay, 50);
    scene.run.rotation_period = clamped_product(scene.settings.cycle_speed_value, 80);
    scene.run.launch_interval = clamped_product(scene.settings.object_frequency, 8);
}

void Form_Load(Scene& scene) {
    scene.run.saver_running = true;
    scene.run.unload_locked = 1;
    scene.run.input_limit = 22;
    // The first run's list files are written here too when Main could not write them.
    if (load_settings(scene.platform.store, sys(scene), scene.settings))
        write_default_lists(data_folders(scene.startup, &sys(scene)), scene.platform.store, scene.settings);
    load_caption_list(data_folders(scene.startup), scene.lists);
    reload_audio_list(scene);
    scene.run.activated_once = 0;
    cursor_hide(sys(scene));
    derive_scene_periods(scene);
    if (scene.platform.scene_window) scene.platform.scene_window->set_mouse_position(0, 0);
}

void Form_Activate(Scene& scene) {
    if (scene.run.activated_once == 1) return;
    scene.run.activated_once = 1;
    scene_setup(scene);
    main_loop(scene);
}

void scene_setup(Scene& scene) {
    hide_overlays(scene);
    place_time_box(scene);
    if (scene.platform.scene_window) scene.platform.scene_window->redraw();
    sys(scene).pump_events(0);
    scene.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(sys(scene))));
    scene.run.exit_requested = 0;
    scene.rotation.rotation_count = 0;
    scene.rotation.current_picture = static_cast<std::int32_t>(int_floor(scene.random.next() * 10 + 1)) - 1;
    scene.run.input_count = 0;
    scene.run.password_prompt_up = 0;
    scene.rotation.transition_effect = 0;
    sys(scene).pump_events(0);
    scene.run.screen_width = static_cast<std::int32_t>(
        round_half_even(sys(scene).screen_width_twips() / sys(scene).twips_per_pixel_x()));
    scene.run.screen_height = static_cast<std::int32_t>(
        round_half_even(sys(scene).screen_height_twips() / sys(scene).twips_per_pixel_y()));
    choose_scene_pictures(scene);
    setup_surfaces(scene);
    place_time_box(scene);
    if (scene.run.test_mode != 1 && scene.platform.scene_window)
        scene.platform.scene_window->make_topmost(0, 0, scene.run.screen_width, scene.run.screen_height);
    if (scene.platform.scene_window) scene.platform.scene_window->redraw();
    sys(scene).pump_events(0);
    init_sprites(scene);
    fit_frame_boxes(scene);
    scene.run.repaint_request = 1;
    start_audio_timer(scene);
    system_keys_off(sys(scene));
}

void frame_work(Scene& scene) {
    blit_old_sprites(scene);
    move_sprites(scene);
    handle_picture_rotation(scene);
    blit_new_sprites(scene);
    blit_flicker_free(scene);
    sort_sprites(scene);
    handle_time(scene);
    handle_scroller(scene);
}

void frame_wait(Scene& scene) {
    const std::int32_t deadline = ticks_add(scene.run.frame_start, scene.run.frame_delay);
    if (scene.surfaces.next_picture_due) {
        // The frame is shown first; the next large picture is then decoded in the time left to it.
        sys(scene).pump_events(0);
        prepare_next_background(scene);
    }
    // One wait per frame unless a timer falls due first; input ends a wait early, and events
    // are delivered even when the frame has already used up its time.
    pause_with_timers(scene, ticks_until(get_ticks(sys(scene)), deadline));
}

bool end_of_frame(Scene& scene) {
    RunState& run = scene.run;
    // Input is judged before the block ends: a key in a block's last frame must not be forgotten.
    if (run.input_count > run.input_limit) {
        run.input_count = 0;
        if (run.test_mode == 1) run.exit_requested = 1;
        else if (windows_password_enabled(scene.platform.registry)) {
            if (run.password_prompt_up == 0) show_password_prompt(scene);
        } else {
            run.exit_requested = 1;
        }
    }
    if (++run.frame_counter >= frames_per_input_block) {
        run.frame_counter = 0;
        run.input_count = 0;
    }
    if (run.repaint_request == 1) {
        run.repaint_request = 0;
        repaint_screen(scene);
    }
    return run.exit_requested != 0 && run.password_prompt_up != 1;
}

void main_loop(Scene& scene) {
    scene.run.frame_delay = scene.settings.frame_rate;
    while (scene.run.saver_running) {
        scene.run.frame_start = get_ticks(sys(scene));
        frame_work(scene);
        frame_wait(scene);
        if (end_of_frame(scene)) break;
    }
    scene.run.unload_locked = 0;
    if (scene.timers.prompt_enabled) password_prompt_cancel(scene);
    if (Form_Unload(scene) && scene.platform.scene_window) scene.platform.scene_window->destroy();
}

bool Form_Unload(Scene& scene) {
    scene.timers.audio_enabled = false;
    audio_off(scene);
    cursor_show(sys(scene));
    system_keys_on(sys(scene));
    scene.run.saver_running = false;
    if (scene.run.unload_locked == 1) return false;
    if (scene.settings.save_as_wallpaper != 0) save_wallpaper(scene);
    return true;
}

void run_scene_window(Scene& scene) {
    Form_Load(scene);
    Form_Activate(scene);
}

void ascreen_MouseMove(Scene& scene) { ++scene.run.input_count; }

void do_keypress(Scene& scene) { scene.run.input_count = static_cast<std::int16_t>(scene.run.input_limit + 1); }

void scene_close_request(Scene& scene) {
    if (scene.run.test_mode != 1 && windows_password_enabled(scene.platform.registry)) {
        do_keypress(scene);
        return;
    }
    Form_Unload(scene);
}

void scene_end_request(Scene& scene) { Form_Unload(scene); }

}  // namespace kolvane
