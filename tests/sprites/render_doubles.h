// Stand-ins for the two rendering entry points the sprite tests run around the motion pass, recording how they were called.
#pragma once
#include <cstdint>

namespace kolvane::testing {

struct RenderLog {
    int erase_calls = 0;             // blit_old_sprites
    int active_at_last_erase = 0;    // live slots when blit_old_sprites last ran
    int rotation_calls = 0;          // handle_picture_rotation
    int clear_every = 0;             // when above 0, every n-th rotation call clears the table
    bool cleared_in_last_call = false;
};

// The one log shared by the stand-ins; reset it at the start of each test.
RenderLog& render_log();

}  // namespace kolvane::testing
