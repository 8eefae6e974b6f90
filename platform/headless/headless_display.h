// The headless screen: keeps what the screen shows, the boxes above it and a settable time of day.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ports/display.h"
#include "ports/local_clock.h"
#include "ports/overlay_view.h"
#include "scene/render/surface.h"

namespace kolvane::headless {

class HeadlessDisplay : public Display {
public:
    void present(const Surface& shown, int x, int y, int width, int height) override;
    void set_repaint_picture(const Surface& picture) override { repaint_picture = &picture; }
    // What the window system does when a covered part of the window is uncovered.
    void uncover(int x, int y, int width, int height);
    // From now on counts, per pixel, how often it was presented (cleared to 0 here).
    void count_presents(int width, int height);

    Surface screen;  // what the screen shows
    const Surface* repaint_picture = nullptr;
    int presents = 0;
    std::int64_t pixels_presented = 0;
    std::vector<std::uint32_t> present_counts;  // row-major, when counting
    int count_width = 0;
};

class HeadlessOverlays : public OverlayView {
public:
    struct Box {
        std::string text;
        float left = 0, top = 0, width = 0, height = 0;
        bool visible = false;
        int texts = 0;  // how often the text was set
        int moves = 0;  // how often the box was placed or moved
    };
    HeadlessOverlays();
    void set_text(OverlayBox box, std::string_view text) override;
    void place(OverlayBox box, float left, float top, float width, float height) override;
    void move(OverlayBox box, float left, float top) override;
    void set_visible(OverlayBox box, bool visible) override;
    Box& operator[](OverlayBox box) { return box == OverlayBox::caption ? caption : clock; }

    Box caption;
    Box clock;
};

class FixedClock : public LocalClock {
public:
    TimeOfDay time_of_day() override { return now; }
    std::string_view morning_designator() override { return morning; }
    std::string_view afternoon_designator() override { return afternoon; }

    TimeOfDay now;
    std::string morning = "AM";
    std::string afternoon = "PM";
};

}  // namespace kolvane::headless
