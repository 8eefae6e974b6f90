// The set-password dialog in GTK: two hidden entries, OK and Cancel; Enter and Escape do nothing in it.
#pragma once
#include "platform/gtk/dialog_support.h"
#include "platform/gtk/form_context.h"

namespace kolvane::gtk {

class NewPasswordForm : public Form {
public:
    explicit NewPasswordForm(FormContext& context);
    // Runs modally over `parent`, or as the program's only window when it is nullptr (the /A switch).
    void run(GtkWindow* parent);
    // The last OK failed to store the password and the dialog was then left without it.
    bool save_failed() const { return save_failed_; }

private:
    void OK_Click();

    FormContext& context_;
    GtkWidget* label_;
    GtkWidget* first_;
    GtkWidget* second_;
    WindowGeometry geometry_;
    bool save_failed_ = false;
};

}  // namespace kolvane::gtk
