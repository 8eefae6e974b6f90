// The settings program's modes: the configuration window and the set-password dialog; the scene's switches go back to the scene program.
#pragma once
#include <string>
#include <vector>

#include "app/main_dispatch.h"
#include "platform/gtk/gtk_system.h"

namespace kolvane::gtk {

class SettingsModes : public ModeEntries {
public:
    // `args` are the program's arguments, handed on as they are to the scene program.
    SettingsModes(GtkSystem& system, std::vector<std::string> args, std::string website)
        : system_(system), args_(std::move(args)), website_(std::move(website)) {}
    int run_scene(App& app) override;
    int run_preview(App& app) override;
    int run_new_password(App& app) override;
    int run_configuration(App& app) override;

private:
    int no_display();

    GtkSystem& system_;
    std::vector<std::string> args_;
    std::string website_;
};

}  // namespace kolvane::gtk
