// The settings program's pictures come through the scene's own reader: the same pixels GTK's loader gives, the same bounds.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <string>

#include "platform/gtk/dialog_support.h"
#include "scene/render/bmp.h"
#include "tests/test_app.h"

namespace kolvane::gtk {
namespace {

// The pixel at (x, y) of a pixbuf as 0x00RRGGBB.
std::uint32_t rgb_at(GdkPixbuf* p, int x, int y) {
    const guchar* at = gdk_pixbuf_get_pixels(p) + y * gdk_pixbuf_get_rowstride(p) + x * gdk_pixbuf_get_n_channels(p);
    return (static_cast<std::uint32_t>(at[0]) << 16) | (static_cast<std::uint32_t>(at[1]) << 8) | at[2];
}

TEST(LoadPicture, ShippedPicturesShowTheSamePixelsAsGtksOwnLoaderGives) {
    for (const char* name : {"title.bmp", "logo.bmp", "preview.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(KOLVANE_SOURCE_ASSETS) + "/" + name;
        GdkPixbuf* ours = load_picture(path, false);
        GdkPixbuf* theirs = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
        ASSERT_NE(ours, nullptr);
        ASSERT_NE(theirs, nullptr);
        ASSERT_EQ(gdk_pixbuf_get_width(ours), gdk_pixbuf_get_width(theirs));
        ASSERT_EQ(gdk_pixbuf_get_height(ours), gdk_pixbuf_get_height(theirs));
        for (int y = 0; y < gdk_pixbuf_get_height(ours); ++y)
            for (int x = 0; x < gdk_pixbuf_get_width(ours); ++x) ASSERT_EQ(rgb_at(ours, x, y), rgb_at(theirs, x, y)) << x << ", " << y;
        g_object_unref(ours);
        g_object_unref(theirs);
    }
}

TEST(LoadPicture, APictureBeyondTheScenesBoundsIsRefused) {
    testing::TempDir dir;
    const std::string path = (dir.path() / "title.bmp").string();
    ASSERT_TRUE(write_bmp(path, Image(max_picture_side + 1, 1)));
    EXPECT_EQ(load_picture(path, false), nullptr);
    EXPECT_EQ(load_picture(path, true), nullptr);
    ASSERT_TRUE(write_bmp(path, Image(max_picture_side, 1, 0xFF00FFu)));
    GdkPixbuf* keyed = load_picture(path, true);
    ASSERT_NE(keyed, nullptr);
    EXPECT_TRUE(gdk_pixbuf_get_has_alpha(keyed));
    EXPECT_EQ(gdk_pixbuf_get_pixels(keyed)[3], 0);  // the key colour is see-through
    g_object_unref(keyed);
}

}  // namespace
}  // namespace kolvane::gtk
