// The configuration window in GTK.
#include "platform/gtk/configuration_form.h"

#include <cstdio>

#include "platform/gtk/about_form.h"
#include "platform/gtk/gtk_system.h"
#include "platform/gtk/launcher.h"
#include "platform/gtk/options_form.h"
#include "platform/sdl/mixer_channel.h"

namespace kolvane::gtk {

namespace {

constexpr int title_width = 320, title_height = 240;  // logical pixels: GTK scales them for the screen
constexpr int title_sound_channel = 1;                 // the audio previews use channel 0

struct ChildWait {
    GMainLoop* loop = nullptr;
    int status = 0;
};

void child_ended(GPid, gint status, gpointer data) {
    auto* wait = static_cast<ChildWait*>(data);
    wait->status = status;
    g_main_loop_quit(wait->loop);
}

GtkWidget* title_picture(const std::string& folder) {
    GdkPixbuf* picture = load_picture(folder + "/title.bmp", false);
    if (!picture) {
        GtkWidget* blank = gtk_image_new();
        gtk_widget_set_size_request(blank, title_width, title_height);
        return blank;
    }
    if (gdk_pixbuf_get_width(picture) != title_width || gdk_pixbuf_get_height(picture) != title_height) {
        GdkPixbuf* scaled = gdk_pixbuf_scale_simple(picture, title_width, title_height, GDK_INTERP_BILINEAR);
        g_object_unref(picture);
        picture = scaled;
    }
    GtkWidget* image = gtk_image_new_from_pixbuf(picture);
    g_object_unref(picture);
    return image;
}

GtkWidget* button_row(std::initializer_list<GtkWidget*> buttons, GtkSizeGroup* sizes) {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_widget_set_halign(row, GTK_ALIGN_CENTER);
    for (GtkWidget* button : buttons) {
        gtk_size_group_add_widget(sizes, button);
        gtk_box_pack_start(GTK_BOX(row), button, FALSE, FALSE, 0);
    }
    return row;
}

}  // namespace

ConfigurationForm::ConfigurationForm(FormContext& context)
    : Form(context.system),
      context_(context),
      title_sound_(context.audio, title_sound_channel),
      geometry_(window(), context.system),
      logic_(context.system, context.app.platform.store, context.app.settings, context.app.scene.run, *this,
             geometry_) {
    gtk_window_set_title(window(), configuration_caption_before_load);
    gtk_window_set_type_hint(window(), GDK_WINDOW_TYPE_HINT_NORMAL);

    GtkWidget* options = text_button("&Options", " Click here to change the settings for this screen saver ");
    GtkWidget* preview = text_button("&Preview", " Click here to preview the screen saver! ");
    GtkWidget* products = text_button("&Dravik Products", " Click here to learn about other Dravik Software products ");
    GtkWidget* about = text_button("&About", " Click here to learn more about this screen saver ");
    GtkWidget* leave = text_button("&Exit", " Click here to exit ");
    on_signal(options, "clicked", [this] { logic_.Command7_Click(); });
    on_signal(preview, "clicked", [this] { logic_.Command6_Click(); });
    on_signal(products, "clicked", [this] { logic_.Command3_Click(); });
    on_signal(about, "clicked", [this] { logic_.Command2_Click(); });
    on_signal(leave, "clicked", [this] { logic_.Command4_Click(); });

    GtkSizeGroup* sizes = gtk_size_group_new(GTK_SIZE_GROUP_HORIZONTAL);
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 10);
    gtk_container_set_border_width(GTK_CONTAINER(column), 12);
    gtk_box_pack_start(GTK_BOX(column), button_row({options, preview}, sizes), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), title_picture(context.pictures), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), button_row({products, about, leave}, sizes), FALSE, FALSE, 0);
    g_object_unref(sizes);
    gtk_container_add(GTK_CONTAINER(window_), column);
    gtk_widget_show_all(column);
    // The first showing is the window's first activation.
    on_signal(window_, "map", [this] { logic_.Form_Activate(); });
}

void ConfigurationForm::run() {
    logic_.Form_Load();
    run_modal(nullptr);
    logic_.Form_Unload();
}

void ConfigurationForm::close_requested() {
    if (!scene_running_) unload();
}

void ConfigurationForm::set_caption(std::string_view caption) {
    gtk_window_set_title(window(), display_text(caption).c_str());
}

void ConfigurationForm::play_sound_loop(const std::string& path) { title_sound_.play(path); }

void ConfigurationForm::stop_sound() { title_sound_.stop(); }

void ConfigurationForm::show_options() {
    OptionsForm options(context_);
    options.run(window());
}

void ConfigurationForm::show_about() {
    AboutForm about(context_);
    about.run(window());
}

void ConfigurationForm::run_test_scene() {
    const std::string program = sibling_program(system_, scene_program_name);
    // The scene opens the sound device for its own music.
    title_sound_.stop();
    context_.audio.close();
    gchar* argv[] = {const_cast<gchar*>(program.c_str()), const_cast<gchar*>("/S"),
                     const_cast<gchar*>("--test-run"), nullptr};
    GPid child = 0;
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &child, &error)) {
        const std::string reason = error ? error->message : "unknown error";
        if (error) g_error_free(error);
        system_.message_box("Cannot start the screen saver " + program + ":\r" + reason, error_title,
                            MessageKind::error);
        return;
    }
    scene_running_ = true;
    gtk_widget_set_sensitive(window_, FALSE);
    ChildWait wait;
    wait.loop = g_main_loop_new(nullptr, FALSE);
    g_child_watch_add(child, child_ended, &wait);
    g_main_loop_run(wait.loop);
    g_main_loop_unref(wait.loop);
    g_spawn_close_pid(child);
    if (!g_spawn_check_wait_status(wait.status, nullptr))
        std::fprintf(stderr, "%s: the test run of the scene ended with status %d\n", settings_program_name, wait.status);
    gtk_widget_set_sensitive(window_, TRUE);
    // Back in front with the keyboard, which the scene's window had.
    gtk_window_present(window());
    scene_running_ = false;
}

bool ConfigurationForm::shell_open(const std::string& target) { return gtk::shell_open(target); }

}  // namespace kolvane::gtk
