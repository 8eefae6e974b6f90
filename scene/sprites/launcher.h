// The object launcher: puts the next due space object into a free slot at an edge of the scene.
#pragma once
#include <cstdint>

namespace kolvane {

struct App;

// The object kinds; 1 to 11 are launched here, the star is placed by the motion pass.
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

// Most live objects of a kind; the launcher refuses the kind while its counter is at this.
std::int32_t kind_limit(std::int32_t kind);

// Offers the next kind in turn; launches it into `slot` (which must be free) when under its
// limit and its odds hold, otherwise changes nothing but the turn.
void launch_object(App& app, std::int32_t slot);

}  // namespace kolvane
