// The headless screen and overlay boxes.
#include "platform/headless/headless_display.h"

namespace kolvane::headless {

void HeadlessDisplay::present(const Surface& shown, int x, int y, int width, int height) {
    if (screen.width() != shown.width() || screen.height() != shown.height()) screen.resize(shown.width(), shown.height());
    const PixelRect r = bit_blt(screen, x, y, width, height, shown, x, y, RasterOp::srccopy);
    ++presents;
    pixels_presented += static_cast<std::int64_t>(r.width) * r.height;
    if (present_counts.empty()) return;
    for (int j = r.top; j < r.top + r.height; ++j)
        for (int i = r.left; i < r.left + r.width; ++i)
            if (i < count_width) ++present_counts[static_cast<std::size_t>(j) * static_cast<std::size_t>(count_width) + static_cast<std::size_t>(i)];
}

void HeadlessDisplay::uncover(int x, int y, int width, int height) {
    if (repaint_picture) bit_blt(screen, x, y, width, height, *repaint_picture, x, y, RasterOp::srccopy);
}

void HeadlessDisplay::count_presents(int width, int height) {
    count_width = width;
    present_counts.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

HeadlessOverlays::HeadlessOverlays() {
    // Room for any caption, so that showing one allocates nothing.
    caption.text.reserve(1024);
    clock.text.reserve(64);
}

void HeadlessOverlays::set_text(OverlayBox box, std::string_view text) {
    Box& b = (*this)[box];
    b.text.assign(text.data(), text.size());
    ++b.texts;
}

void HeadlessOverlays::place(OverlayBox box, float left, float top, float width, float height) {
    Box& b = (*this)[box];
    b.left = left;
    b.top = top;
    b.width = width;
    b.height = height;
    ++b.moves;
}

void HeadlessOverlays::move(OverlayBox box, float left, float top) {
    Box& b = (*this)[box];
    b.left = left;
    b.top = top;
    ++b.moves;
}

void HeadlessOverlays::set_visible(OverlayBox box, bool visible) { (*this)[box].visible = visible; }

}  // namespace kolvane::headless
