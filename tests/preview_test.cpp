// The preview's life: attached to the host, taken back on a close request, ended when the host goes.
#include <gtest/gtest.h>

#include "ports/preview_view.h"
#include "preview/preview.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

class FakePreview : public PreviewView {
public:
    HostRect host_client_rect(unsigned long host) override { return host == 1234 ? HostRect{0, 0, 152, 112} : HostRect{}; }
    void size_picture_twips(float w, float h) override {
        width = w;
        height = h;
    }
    void attach_to_host(unsigned long host) override { parent = host; }
    void detach_from_host() override { parent = 0; }
    bool host_exists(unsigned long host) override { return host == 1234 && host_alive; }
    void unload() override { ++unloads; }
    float width = -1, height = -1;
    unsigned long parent = 0;
    bool host_alive = true;
    int unloads = 0;
};

TEST(Preview, AttachesSizedToTheHostAndEndsWhenTheHostGoes) {
    testing::TestApp t;
    t.app.startup.host_window = 1234;
    FakePreview view;
    PreviewState state;
    int polls = 0;
    t.system.on_pump = [&] {
        if (++polls == 10) view.host_alive = false;
    };
    const std::uint32_t start = t.system.clock_ms;
    run_preview(t.system, t.app.startup, view, state);
    EXPECT_FLOAT_EQ(view.width, 152 * 15.0f);
    EXPECT_FLOAT_EQ(view.height, 112 * 15.0f);
    EXPECT_EQ(view.parent, 1234u);
    EXPECT_EQ(view.unloads, 1);
    // Polled every 50 ms: the end comes within one period of the host going away.
    EXPECT_GE(t.system.clock_ms - start, 50u * 9);
    EXPECT_LE(t.system.clock_ms - start, 50u * 11);
}

TEST(Preview, ACloseRequestTakesThePictureBackAndEndsAtTheNextTick) {
    testing::TestApp t;
    t.app.startup.host_window = 1234;
    FakePreview view;
    PreviewState state;
    preview_form_load(t.app.startup, view, state);
    preview_message(view, state, 15);  // other messages are ignored
    preview_timer(t.app.startup, view, state);
    EXPECT_EQ(view.unloads, 0);
    preview_message(view, state, preview_close_message);
    EXPECT_EQ(view.parent, 0u);
    preview_timer(t.app.startup, view, state);
    preview_timer(t.app.startup, view, state);
    EXPECT_EQ(view.unloads, 1);
}

TEST(Preview, NoHostEndsAtTheFirstTick) {
    testing::TestApp t;
    t.app.startup.host_window = 0;
    FakePreview view;
    PreviewState state;
    run_preview(t.system, t.app.startup, view, state);
    EXPECT_FLOAT_EQ(view.width, 0.0f);
    EXPECT_EQ(view.unloads, 1);
}

}  // namespace
}  // namespace kolvane
