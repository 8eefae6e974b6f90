// The About box in GTK: title, version, the maker's contact details, the notice, and its three buttons.
#pragma once
#include <string>
#include <string_view>

#include "config_ui/about_box.h"
#include "platform/gtk/dialog_support.h"
#include "platform/gtk/form_context.h"

namespace kolvane::gtk {

class AboutForm : public Form, public AboutView {
public:
    explicit AboutForm(FormContext& context);
    void run(GtkWindow* parent);

    void set_caption(std::string_view caption) override;
    void set_title(std::string_view title) override;
    void set_version(std::string_view version) override;
    bool start_program(const std::string& path) override;
    bool shell_open(const std::string& target) override;
    void unload() override { end(); }

private:
    GtkWidget* title_;
    GtkWidget* version_;
    GtkWidget* ok_;
    AboutBox logic_;
};

}  // namespace kolvane::gtk
