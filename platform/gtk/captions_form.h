// The captions dialog in GTK: the caption list, the entry for a new caption and its buttons.
#pragma once
#include <string>

#include "config_ui/captions_dialog.h"
#include "platform/gtk/dialog_support.h"
#include "platform/gtk/form_context.h"

namespace kolvane::gtk {

class CaptionsForm : public Form, public CaptionsView {
public:
    explicit CaptionsForm(FormContext& context);
    void run(GtkWindow* parent);

    ListView& captions() override { return list_; }
    std::string entry_text() override;
    void unload() override { end(); }

private:
    // The title-bar close leaves as Cancel does.
    void close_requested() override { logic_.Command3_Click(); }

    TreeListView list_{false};
    GtkWidget* entry_;
    CaptionsDialog logic_;
};

}  // namespace kolvane::gtk
