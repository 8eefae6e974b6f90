// The catalogue of space objects: their kinds, how each kind moves, and the draws and speeds launches and moves share.
#pragma once
#include <cstdint>

namespace kolvane {

struct Scene;

// The object kinds; 1 to 11 are launched, the star is placed by the motion pass.
namespace object_kind {
inline constexpr std::int32_t orbiter = 1;
inline constexpr std::int32_t rocket = 2;
inline constexpr std::int32_t astronaut = 3;
inline constexpr std::int32_t satellite = 4;
inline constexpr std::int32_t debris = 5;
inline constexpr std::int32_t saucer = 6;
inline constexpr std::int32_t orbiter_top = 7;
inline constexpr std::int32_t launch_stack = 8;
inline constexpr std::int32_t dish_satellite = 9;
inline constexpr std::int32_t small_asteroid = 10;
inline constexpr std::int32_t large_asteroid = 11;
inline constexpr std::int32_t star = 12;
}  // namespace object_kind

inline constexpr std::int32_t launchable_kinds = 11;

// How a slot moves each frame; the numbers are those the trace and the tests know.
enum class Motion : std::int32_t {
    none = 0,          // stars keep their place
    speeding_up = 1,   // horizontal flight that speeds up in its own direction (orbiter)
    climbing = 2,      // a climb that speeds up towards the top (rocket)
    straight = 3,      // a straight line (most objects)
    accelerating = 4,  // a straight line whose horizontal speed changes by ax (satellites)
    wandering = 5,     // random pushes against the direction of travel (saucer)
};

inline constexpr std::int32_t end_of_sequence = -1;  // the entry that closes an animation sequence
inline constexpr std::int32_t sprite_count = 25;     // the slots the scene uses

// R(n): a whole number 1 to n.
std::int32_t pick(Scene& scene, std::int32_t n);
// Int(n * r + 1) for a real n, such as half the scene height.
double whole_draw(Scene& scene, double n);
// SX(i) and SY(i): speed i of the screen-scaled tables, in pixels per frame.
double sx(const Scene& scene, std::int32_t step);
double sy(const Scene& scene, std::int32_t step);

// The chance helpers on the scene's generator and clock.
bool chance_half(Scene& scene);
bool chance_fifth(Scene& scene);
bool chance_twentieth(Scene& scene);
bool chance_below(Scene& scene, double range, double limit);

}  // namespace kolvane
