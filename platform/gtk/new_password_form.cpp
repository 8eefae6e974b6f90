// The set-password dialog in GTK.
#include "platform/gtk/new_password_form.h"

#include "config_ui/new_password.h"
#include "password/password_forms.h"
#include "platform/gtk/gtk_system.h"
#include "startup/system_services.h"

namespace kolvane::gtk {

namespace {

GtkWidget* hidden_entry() {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
    gtk_entry_set_invisible_char(GTK_ENTRY(entry), '*');
    // Enter in the box reaches no default button: there is none.
    gtk_entry_set_activates_default(GTK_ENTRY(entry), FALSE);
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 24);
    return entry;
}

void set_text(GtkWidget* entry, const std::string& engine) {
    gtk_entry_set_text(GTK_ENTRY(entry), display_text(engine).c_str());
}

}  // namespace

NewPasswordForm::NewPasswordForm(FormContext& context)
    : Form(context.system),
      context_(context),
      label_(plain_label("")),
      first_(hidden_entry()),
      second_(hidden_entry()),
      geometry_(window(), context.system) {
    gtk_window_set_title(window(), new_password_caption);
    GtkWidget* ok = gtk_button_new_with_label("OK");
    GtkWidget* cancel = gtk_button_new_with_label("Cancel");
    on_signal(ok, "clicked", [this] { OK_Click(); });
    on_signal(cancel, "clicked", [this] { end(); });

    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 8);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 10);
    gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
    gtk_grid_attach(GTK_GRID(grid), label_, 0, 0, 2, 1);
    gtk_grid_attach(GTK_GRID(grid), plain_label("New Password:"), 0, 1, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), first_, 1, 1, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), plain_label("Confirm new password:"), 0, 2, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), second_, 1, 2, 1, 1);
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_box_set_homogeneous(GTK_BOX(buttons), TRUE);
    gtk_widget_set_halign(buttons, GTK_ALIGN_END);
    gtk_box_pack_start(GTK_BOX(buttons), ok, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), cancel, TRUE, TRUE, 0);
    gtk_grid_attach(GTK_GRID(grid), buttons, 0, 3, 2, 1);
    gtk_container_add(GTK_CONTAINER(window_), grid);
}

void NewPasswordForm::run(GtkWindow* parent) {
    // Form_Load: centred on the screen, the label, both boxes empty.
    gtk_widget_show_all(gtk_bin_get_child(GTK_BIN(window_)));
    center_form(system_, geometry_);
    gtk_label_set_text(GTK_LABEL(label_), new_password_label);
    set_text(first_, "");
    set_text(second_, "");
    gtk_widget_grab_focus(first_);
    run_modal(parent, false);
}

void NewPasswordForm::OK_Click() {
    const TypedPassword typed_first = typed_password(gtk_entry_get_text(GTK_ENTRY(first_)));
    const TypedPassword typed_second = typed_password(gtk_entry_get_text(GTK_ENTRY(second_)));
    // A character the stored form cannot hold is refused before anything is changed.
    if (!new_password_convertible(system_, typed_first, typed_second)) return;
    std::string first = normalize_password(context_.layout, typed_first.text);
    std::string second = normalize_password(context_.layout, typed_second.text);
    // The boxes show the unshifted texts before any message about them.
    set_text(first_, first);
    set_text(second_, second);
    App& app = context_.app;
    const NewPasswordOutcome outcome =
        new_password_ok(system_, app.platform.store, app.settings, context_.layout, first, second);
    if (outcome == NewPasswordOutcome::not_saved) save_failed_ = true;
    if (outcome != NewPasswordOutcome::saved) return;
    save_failed_ = false;
    end();
}

}  // namespace kolvane::gtk
