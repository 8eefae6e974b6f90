// The per-frame trace as JSON lines.
#include "tools/render/trace.h"

#include "scene/scene.h"

namespace kolvane {

void TraceWriter::write(std::FILE* out, long frame, const Scene& scene) {
    const SpriteTable& t = scene.sprites;
    std::fprintf(out,
                 "{\"frame\":%ld,\"current_picture\":%d,\"transition_effect\":%d,\"rotation_count\":%d,"
                 "\"scroller_phase\":%d,\"scroller_countdown\":%d,\"caption_index\":%d,\"launch_countdown\":%d,"
                 "\"kind_count\":[",
                 frame, scene.rotation.current_picture, scene.rotation.transition_effect, scene.rotation.rotation_count,
                 scene.scroller.scroller_phase, scene.scroller.scroller_countdown, scene.scroller.caption_index,
                 t.launch_countdown);
    for (int k = 1; k < kind_capacity; ++k) std::fprintf(out, "%s%d", k > 1 ? "," : "", t.kind_count[static_cast<std::size_t>(k)]);
    std::fprintf(out, "],\"draw_order\":[");
    for (int i = 1; i <= t.max_sprites; ++i) std::fprintf(out, "%s%d", i > 1 ? "," : "", t.draw_order[static_cast<std::size_t>(i)]);
    std::fprintf(out, "],\"slots\":[");
    bool first = true;
    for (int s = 1; s <= t.max_sprites; ++s) {
        const SpriteSlot& slot = t.slot[static_cast<std::size_t>(s)];
        if (slot.active == 0) continue;
        std::fprintf(out,
                     "%s{\"slot\":%d,\"kind\":%d,\"frame\":%d,\"x\":%.17g,\"y\":%.17g,\"vx\":%.17g,\"vy\":%.17g,"
                     "\"ax\":%.17g,\"wander_vx\":%.17g,\"wander_vy\":%.17g,\"motion\":%d,\"masked\":%d,\"anim\":%d,"
                     "\"anim_step\":%d,\"anim_end\":%d}",
                     first ? "" : ",", s, slot.kind, slot.frame, slot.x, slot.y, slot.vx, slot.vy, slot.ax,
                     slot.wander_vx, slot.wander_vy, static_cast<int>(slot.motion), slot.masked, slot.anim, slot.anim_step,
                     slot.anim_end);
        first = false;
    }
    std::fprintf(out, "]}\n");
}

}  // namespace kolvane
