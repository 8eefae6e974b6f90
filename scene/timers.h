// The scene's timers (the audio timer, the password prompt's time limit) and the channels' status reports.
#pragma once
#include <cstdint>

namespace kolvane {

struct Scene;

// Milliseconds from `now` until the next timer falls due, at most `limit`.
std::int32_t until_next_timer(const Scene& scene, std::int32_t now, std::int32_t limit);
// Runs every timer that has fallen due.
void run_due_timers(Scene& scene);
// The media channels' status reports: a stopped device frees its channel.
void report_channel_status(Scene& scene);
// Delivers events for `ms` milliseconds, as the pauses of a background change do, with the timers
// and the status reports kept running: a change lasting seconds must not hold them up.
void pause_with_timers(Scene& scene, std::int32_t ms);

}  // namespace kolvane
