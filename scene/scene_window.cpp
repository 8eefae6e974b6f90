// The scene window: set-up, the timed frame loop, input counting and the orderly stop.
#include "scene/scene_window.h"

#include <algorithm>
#include <limits>

#include "lists/lists.h"
#include "password/password_prompt.h"
#include "platform/scene_window.h"
#include "scene/audio.h"
#include "scene/render/compositor.h"
#include "scene/render/overlays.h"
#include "scene/render/wallpaper.h"
#include "scene/sprites/motion.h"
#include "scene/sprites/sprite_table.h"
#include "startup/app.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

std::int32_t clamped_product(std::int64_t a, std::int64_t b) {
    const std::int64_t p = a * b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(p, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

SystemApi& sys(App& app) { return app.platform.system; }

void start_audio_timer(App& app) {
    // A zero interval leaves the timer off; a day is far beyond any interval the options offer.
    const std::int64_t interval = std::min<std::int64_t>(std::int64_t{app.settings.audio_seconds} * 1000, 86400000);
    app.timers.audio_enabled = interval > 0;
    app.timers.audio_interval = static_cast<std::int32_t>(std::max<std::int64_t>(interval, 0));
    app.timers.audio_due = ticks_add(get_ticks(sys(app)), app.timers.audio_interval);
}

// Milliseconds until the next timer falls due, at most `limit`.
std::int32_t until_next_timer(const App& app, std::int32_t now, std::int32_t limit) {
    if (app.timers.audio_enabled) limit = std::min(limit, std::max(0, ticks_until(now, app.timers.audio_due)));
    if (app.timers.prompt_enabled) limit = std::min(limit, std::max(0, ticks_until(now, app.timers.prompt_due)));
    return limit;
}

void run_due_timers(App& app) {
    const std::int32_t now = get_ticks(sys(app));
    if (app.timers.audio_enabled && ticks_reached(now, app.timers.audio_due)) {
        app.timers.audio_due = ticks_add(now, app.timers.audio_interval);
        Timer1_Timer(app);
    }
    if (app.timers.prompt_enabled && ticks_reached(get_ticks(sys(app)), app.timers.prompt_due))
        password_prompt_cancel(app);
}

void show_password_prompt(App& app) {
    app.run.password_prompt_up = 1;
    if (app.platform.scene_window) app.platform.scene_window->show_password_prompt();
    password_prompt_load(app);
}

}  // namespace

void derive_scene_periods(App& app) {
    app.run.scroller_period = clamped_product(app.settings.scroller_delay, 50);
    app.run.rotation_period = clamped_product(app.settings.cycle_speed_value, 80);
    app.run.launch_interval = clamped_product(app.settings.object_frequency, 8);
}

void Form_Load(App& app) {
    app.run.saver_running = true;
    app.run.unload_locked = 1;
    app.run.input_limit = 22;
    load_settings(app);
    load_caption_list(app);
    reload_audio_list(app);
    app.run.activated_once = 0;
    cursor_hide(sys(app));
    derive_scene_periods(app);
    if (app.platform.scene_window) app.platform.scene_window->set_mouse_position(0, 0);
}

void Form_Activate(App& app) {
    if (app.run.activated_once == 1) return;
    app.run.activated_once = 1;
    scene_setup(app);
    main_loop(app);
}

void scene_setup(App& app) {
    hide_overlays(app);
    place_time_box(app);
    if (app.platform.scene_window) app.platform.scene_window->redraw();
    sys(app).pump_events(0);
    app.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(sys(app))));
    app.run.exit_requested = 0;
    app.rotation.rotation_count = 0;
    app.rotation.current_picture = static_cast<std::int32_t>(int_floor(app.random.next() * 10 + 1)) - 1;
    app.run.input_count = 0;
    app.run.password_prompt_up = 0;
    app.rotation.transition_effect = 0;
    sys(app).pump_events(0);
    app.run.screen_width = static_cast<std::int32_t>(
        round_half_even(sys(app).screen_width_twips() / sys(app).twips_per_pixel_x()));
    app.run.screen_height = static_cast<std::int32_t>(
        round_half_even(sys(app).screen_height_twips() / sys(app).twips_per_pixel_y()));
    setup_surfaces(app);
    place_time_box(app);
    if (app.run.test_mode != 1 && app.platform.scene_window)
        app.platform.scene_window->make_topmost(0, 0, app.run.screen_width, app.run.screen_height);
    if (app.platform.scene_window) app.platform.scene_window->redraw();
    sys(app).pump_events(0);
    init_sprites(app);
    app.run.repaint_request = 1;
    start_audio_timer(app);
    system_keys_off(sys(app));
}

void frame_work(App& app) {
    blit_old_sprites(app);
    move_sprites(app);
    blit_new_sprites(app);
    blit_flicker_free(app);
    sort_sprites(app);
    handle_time(app);
    handle_scroller(app);
}

void frame_wait(App& app) {
    const std::int32_t deadline = ticks_add(app.run.frame_start, app.run.frame_delay);
    std::int32_t wait = 0;
    std::int32_t remaining = 0;
    do {
        sys(app).pump_events(wait);
        run_due_timers(app);
        const std::int32_t now = get_ticks(sys(app));
        remaining = ticks_until(now, deadline);
        wait = until_next_timer(app, now, remaining);
    } while (remaining > 0);
    // The channels' status reports: a stopped device frees its channel.
    MMControl1_StatusUpdate(app);
    MMControl2_StatusUpdate(app);
}

bool end_of_frame(App& app) {
    RunState& run = app.run;
    if (++run.frame_counter >= frames_per_input_block) {
        run.frame_counter = 0;
        run.input_count = 0;
    }
    if (run.input_count > run.input_limit) {
        run.input_count = 0;
        if (run.test_mode == 1) run.exit_requested = 1;
        else if (windows_password_enabled(app.platform.registry)) {
            if (run.password_prompt_up == 0) show_password_prompt(app);
        } else {
            run.exit_requested = 1;
        }
    }
    if (run.repaint_request == 1) {
        run.repaint_request = 0;
        repaint_screen(app);
    }
    return run.exit_requested != 0 && run.password_prompt_up != 1;
}

void main_loop(App& app) {
    app.run.frame_delay = app.settings.frame_rate;
    while (app.run.saver_running) {
        app.run.frame_start = get_ticks(sys(app));
        frame_work(app);
        frame_wait(app);
        if (end_of_frame(app)) break;
    }
    app.run.unload_locked = 0;
    if (app.timers.prompt_enabled) password_prompt_cancel(app);
    if (Form_Unload(app) && app.platform.scene_window) app.platform.scene_window->destroy();
}

bool Form_Unload(App& app) {
    app.timers.audio_enabled = false;
    audio_off(app);
    cursor_show(sys(app));
    system_keys_on(sys(app));
    app.run.saver_running = false;
    if (app.run.unload_locked == 1) return false;
    if (app.settings.save_as_wallpaper != 0) save_wallpaper(app);
    return true;
}

void run_scene_window(App& app) {
    Form_Load(app);
    Form_Activate(app);
}

void ascreen_MouseMove(App& app) { ++app.run.input_count; }

void do_keypress(App& app) { app.run.input_count = static_cast<std::int16_t>(app.run.input_limit + 1); }

void scene_close_request(App& app) { Form_Unload(app); }

}  // namespace kolvane
