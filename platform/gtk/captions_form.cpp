// The captions dialog in GTK.
#include "platform/gtk/captions_form.h"

#include "platform/gtk/gtk_system.h"

namespace kolvane::gtk {

namespace {
constexpr int enter_key = 13;
}

CaptionsForm::CaptionsForm(FormContext& context)
    : Form(context.system),
      entry_(gtk_entry_new()),
      logic_(context.system, context.app.startup, context.app.lists, *this) {
    gtk_window_set_title(window(), captions_caption);

    gtk_widget_set_tooltip_text(list_.widget(),
                                " This is the list of captions that will be randomly displayed during the screen saver ");
    gtk_widget_set_size_request(list_.widget(), 480, 220);
    gtk_widget_set_tooltip_text(entry_, " Enter a new caption here ");
    // Every key typed goes to the dialog's key handler first; Enter is the one it takes.
    on_key_press(entry_, [this](const GdkEventKey& key) {
        if (key.state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) return false;
        const bool enter = key.keyval == GDK_KEY_Return || key.keyval == GDK_KEY_KP_Enter;
        const int code = enter ? enter_key : static_cast<int>(gdk_keyval_to_unicode(key.keyval));
        if (code == 0) return false;
        return logic_.Text1_KeyPress(code) == 0;
    });

    GtkWidget* add = text_button("&Add", " Adds the entered text into the caption list ");
    GtkWidget* remove = text_button("&Remove Selected Caption", " Remove currently selected caption ");
    GtkWidget* cancel = text_button("&Cancel", " Exit without saving any changes ");
    GtkWidget* save = text_button("Save And &Exit", " Save any changes and exit ");
    on_signal(add, "clicked", [this] { logic_.Command2_Click(); });
    on_signal(remove, "clicked", [this] { logic_.Command4_Click(); });
    on_signal(cancel, "clicked", [this] { logic_.Command3_Click(); });
    on_signal(save, "clicked", [this] { logic_.Command1_Click(); });

    GtkWidget* entry_row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_box_pack_start(GTK_BOX(entry_row), entry_, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(entry_row), add, FALSE, FALSE, 0);
    GtkWidget* bottom = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_box_pack_start(GTK_BOX(bottom), remove, FALSE, FALSE, 0);
    // Cancel before Save And Exit, as the tab order has them.
    gtk_box_pack_end(GTK_BOX(bottom), save, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(bottom), cancel, FALSE, FALSE, 0);
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_container_set_border_width(GTK_CONTAINER(column), 12);
    gtk_box_pack_start(GTK_BOX(column), list_.widget(), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(column), entry_row, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), bottom, FALSE, FALSE, 6);
    gtk_container_add(GTK_CONTAINER(window_), column);
}

void CaptionsForm::run(GtkWindow* parent) {
    logic_.Form_Load();
    // A caption can be typed at once; focusing the list would select its first line.
    gtk_widget_grab_focus(entry_);
    run_modal(parent);
}

std::string CaptionsForm::entry_text() { return gtk_entry_get_text(GTK_ENTRY(entry_)); }

}  // namespace kolvane::gtk
