// One JSON line per frame with the scene's counters and every active slot.
#pragma once
#include <cstdio>

namespace kolvane {

struct Scene;

class TraceWriter {
public:
    void write(std::FILE* out, long frame, const Scene& scene);
};

}  // namespace kolvane
