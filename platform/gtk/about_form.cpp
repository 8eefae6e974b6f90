// The About box in GTK.
#include "platform/gtk/about_form.h"

#include "platform/gtk/gtk_system.h"
#include "platform/gtk/launcher.h"

namespace kolvane::gtk {

namespace {

constexpr const char* maker = "Dravik Software";
constexpr const char* contact_labels[] = {"Web:", "E-mail:", "Mail:", "Telephone:"};
constexpr const char* contact_email = "support@dravik-software.com";
constexpr const char* contact_mail = "Dravik Software, 14 Orchard Lane, Millbrook 10101";
constexpr const char* contact_phone = "+1 555 0100 (weekdays, 9 to 5)";
constexpr const char* notice =
    "Warning: this program is protected by copyright law and international treaties. Unauthorised copying or "
    "distribution of this program, or of any part of it, may result in severe civil and criminal penalties.";
constexpr const char* web_caption = "&Click here to visit the Dravik Software website on the internet.";
constexpr const char* web_tip = "Visit The Dravik Software Website For The Latest Screen Savers And Multimedia Tools!";

GtkWidget* picture(const std::string& path, bool keyed) {
    GdkPixbuf* pixels = load_picture(path, keyed);
    if (!pixels) return gtk_image_new();
    GtkWidget* image = gtk_image_new_from_pixbuf(pixels);
    g_object_unref(pixels);
    return image;
}

}  // namespace

AboutForm::AboutForm(FormContext& context)
    : Form(context.system),
      title_(gtk_label_new("")),
      version_(gtk_label_new("")),
      ok_(text_button("&OK", nullptr)),
      logic_(context.system, context.app.platform.registry, *this,
             website_target(context.app.settings.install_path, context.website)) {
    GtkWidget* contacts = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(contacts), 4);
    gtk_grid_set_column_spacing(GTK_GRID(contacts), 10);
    gtk_container_set_border_width(GTK_CONTAINER(contacts), 8);
    const std::string values[] = {context.website, contact_email, contact_mail, contact_phone};
    gtk_grid_attach(GTK_GRID(contacts), picture(context.pictures + "/logo.bmp", true), 0, 0, 1, 4);
    for (int row = 0; row < 4; ++row) {
        gtk_grid_attach(GTK_GRID(contacts), plain_label(contact_labels[row]), 1, row, 1, 1);
        GtkWidget* value = plain_label(values[row]);
        gtk_label_set_selectable(GTK_LABEL(value), TRUE);
        gtk_widget_set_can_focus(value, FALSE);
        gtk_grid_attach(GTK_GRID(contacts), value, 2, row, 1, 1);
    }
    GtkWidget* frame = gtk_frame_new(maker);
    gtk_container_add(GTK_CONTAINER(frame), contacts);

    GtkWidget* warning = plain_label(notice);
    gtk_label_set_line_wrap(GTK_LABEL(warning), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(warning), 64);

    GtkWidget* web = text_button(web_caption, web_tip);
    gtk_button_set_image(GTK_BUTTON(web), picture(context.pictures + "/buttons/web.bmp", true));
    gtk_button_set_always_show_image(GTK_BUTTON(web), TRUE);
    GtkWidget* system_info = text_button("&System Info...", nullptr);
    on_signal(web, "clicked", [this] { logic_.Command1_Click(); });
    on_signal(ok_, "clicked", [this] { logic_.cmdOK_Click(); });
    on_signal(system_info, "clicked", [this] { logic_.cmdSysInfo_Click(); });
    gtk_widget_set_can_default(ok_, TRUE);

    GtkWidget* actions = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_box_pack_start(GTK_BOX(actions), ok_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(actions), system_info, FALSE, FALSE, 0);
    GtkWidget* bottom = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_box_pack_start(GTK_BOX(bottom), web, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(bottom), actions, FALSE, FALSE, 0);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    gtk_container_set_border_width(GTK_CONTAINER(column), 12);
    gtk_box_pack_start(GTK_BOX(column), title_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), version_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), gtk_separator_new(GTK_ORIENTATION_HORIZONTAL), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), frame, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), warning, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), gtk_separator_new(GTK_ORIENTATION_HORIZONTAL), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), bottom, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window_), column);

    // OK is both the default and the cancel button: Enter and Escape press it, except that Enter on
    // another button presses that one.
    on_key_press(window_, [this](const GdkEventKey& key) {
        const bool enter = key.keyval == GDK_KEY_Return || key.keyval == GDK_KEY_KP_Enter;
        if (key.keyval != GDK_KEY_Escape && !enter) return false;
        GtkWidget* focus = gtk_window_get_focus(window());
        if (enter && focus && GTK_IS_BUTTON(focus)) return false;
        logic_.cmdOK_Click();
        return true;
    });
}

void AboutForm::run(GtkWindow* parent) {
    logic_.Form_Load();
    gtk_widget_grab_focus(ok_);
    gtk_widget_grab_default(ok_);
    run_modal(parent);
}

void AboutForm::set_caption(std::string_view caption) { gtk_window_set_title(window(), display_text(caption).c_str()); }

void AboutForm::set_title(std::string_view title) {
    gchar* markup = g_markup_printf_escaped("<span size='x-large' weight='bold'>%s</span>", display_text(title).c_str());
    gtk_label_set_markup(GTK_LABEL(title_), markup);
    g_free(markup);
}

void AboutForm::set_version(std::string_view version) { gtk_label_set_text(GTK_LABEL(version_), display_text(version).c_str()); }

bool AboutForm::start_program(const std::string& path) { return gtk::start_program(path); }

bool AboutForm::shell_open(const std::string& target) { return gtk::shell_open(target); }

}  // namespace kolvane::gtk
