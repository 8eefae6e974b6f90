// One JSON line per frame with the scene's counters and every active slot.
#pragma once
#include <cstdio>

namespace kolvane {

struct App;

class TraceWriter {
public:
    void write(std::FILE* out, long frame, const App& app);
};

}  // namespace kolvane
