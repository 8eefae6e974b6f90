// The list box port over a real GTK tree view: lines kept as added, shown as UTF-8, selection, the current line, removal.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/gtk/dialog_support.h"

namespace kolvane::gtk {
namespace {

class TreeList : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "these tests need an X display"; }
    static void select(TreeListView& list, int index, bool also_cursor) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(index, -1);
        if (also_cursor) gtk_tree_view_set_cursor(list.tree(), path, nullptr, FALSE);
        gtk_tree_selection_select_path(gtk_tree_view_get_selection(list.tree()), path);
        gtk_tree_path_free(path);
    }
    static std::string shown(TreeListView& list, int index) {
        GtkTreeModel* model = gtk_tree_view_get_model(list.tree());
        GtkTreeIter iter;
        EXPECT_TRUE(gtk_tree_model_iter_nth_child(model, &iter, nullptr, index));
        gchar* text = nullptr;
        gtk_tree_model_get(model, &iter, 1, &text, -1);
        std::string copy = text ? text : "";
        g_free(text);
        return copy;
    }
};

TEST_F(TreeList, LinesComeBackAsAddedAndShowAsUtf8) {
    TreeListView list(false);
    list.add("first");
    list.add("caf\xE9");          // a line written on Windows, in the Western code page
    list.add("caf\xC3\xA9 too");  // the same word in UTF-8
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.line(1), "caf\xE9");
    EXPECT_EQ(shown(list, 1), "caf\xC3\xA9");
    EXPECT_EQ(list.line(2), "caf\xC3\xA9 too");
    EXPECT_EQ(shown(list, 2), "caf\xC3\xA9 too");
    EXPECT_EQ(list.line(3), "");
    EXPECT_EQ(list.line(-1), "");
}

TEST_F(TreeList, NoLineIsCurrentUntilOneIsSelected) {
    TreeListView list(false);
    for (const char* line : {"a", "b", "c"}) list.add(line);
    EXPECT_EQ(list.current(), -1);
    select(list, 1, true);
    EXPECT_EQ(list.current(), 1);
    EXPECT_TRUE(list.selected(1));
    EXPECT_FALSE(list.selected(0));
    list.remove(1);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.line(1), "c");
    EXPECT_EQ(list.current(), -1) << "the removed line's neighbour is not selected in its place";
    EXPECT_FALSE(list.selected(0));
    EXPECT_FALSE(list.selected(1));
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(TreeList, SeveralSelectedAndTheCurrentOneAmongThem) {
    TreeListView list(true);
    for (const char* line : {"a", "b", "c", "d"}) list.add(line);
    select(list, 3, true);  // the cursor goes first: setting it selects its line alone
    select(list, 1, false);
    EXPECT_TRUE(list.selected(1));
    EXPECT_TRUE(list.selected(3));
    EXPECT_FALSE(list.selected(2));
    EXPECT_EQ(list.current(), 3);
    // The cursor moved on without selecting: the first selected line is the one meant.
    GtkTreePath* path = gtk_tree_path_new_from_indices(2, -1);
    gtk_tree_view_set_cursor(list.tree(), path, nullptr, FALSE);
    gtk_tree_path_free(path);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(list.tree()));
    select(list, 1, false);
    select(list, 3, false);
    EXPECT_EQ(list.current(), 1);
    // Removing one of several selected lines leaves the others selected, as the remove loop needs.
    list.remove(3);
    EXPECT_TRUE(list.selected(1));
    list.clear_selection();
    EXPECT_EQ(list.current(), -1);
    EXPECT_FALSE(list.selected(1));
}

TEST(Mnemonics, AmpersandsBecomeUnderscores) {
    EXPECT_EQ(mnemonic_text("&Options"), "_Options");
    EXPECT_EQ(mnemonic_text("Save And &Exit"), "Save And _Exit");
    EXPECT_EQ(mnemonic_text("Add &Selected File(s)"), "Add _Selected File(s)");
    EXPECT_EQ(mnemonic_text("Salt && Pepper"), "Salt & Pepper");
    EXPECT_EQ(mnemonic_text("snake_case &x"), "snake__case _x");
    EXPECT_EQ(mnemonic_text("end&"), "end&");
}

TEST(Pictures, TheKeyColourBecomesTransparent) {
    GdkPixbuf* ok = load_picture(std::string(KOLVANE_SOURCE_ASSETS) + "/buttons/ok.bmp", true);
    ASSERT_NE(ok, nullptr);
    ASSERT_TRUE(gdk_pixbuf_get_has_alpha(ok));
    const guchar* pixels = gdk_pixbuf_get_pixels(ok);
    const int stride = gdk_pixbuf_get_rowstride(ok);
    int clear = 0, solid = 0;
    for (int y = 0; y < gdk_pixbuf_get_height(ok); ++y)
        for (int x = 0; x < gdk_pixbuf_get_width(ok); ++x) {
            const guchar* p = pixels + y * stride + x * 4;
            if (p[3] == 0) ++clear;
            else if (p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF) ADD_FAILURE() << "key colour left at " << x << "," << y;
            else ++solid;
        }
    EXPECT_EQ(pixels[3], 0) << "the top-left pixel is the key colour";
    EXPECT_GT(clear, 100);
    EXPECT_GT(solid, 100);
    g_object_unref(ok);
    EXPECT_EQ(load_picture("/nonexistent/picture.bmp", false), nullptr);
}

}  // namespace
}  // namespace kolvane::gtk
