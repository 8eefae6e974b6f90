// The settings program's modes: the configuration window and the set-password dialog; the scene's switches go back to the scene program.
#pragma once
#include <string>
#include <vector>

#include "app/main_dispatch.h"
#include "platform/gtk/gtk_system.h"
#include "platform/sdl/ini_store.h"

namespace kolvane::gtk {

class SettingsModes : public ModeEntries {
public:
    // `args` are the program's arguments, handed on as they are to the scene program.
    // `settings` is the store the App reads.
    SettingsModes(GtkSystem& system, const sdl::IniStore& settings, std::vector<std::string> args, std::string website)
        : system_(system), settings_(settings), args_(std::move(args)), website_(std::move(website)) {}
    int run_scene(App& app) override;
    int run_preview(App& app) override;
    int run_new_password(App& app) override;
    int run_configuration(App& app) override;
    // A message box when the user's settings file exists but cannot be read; shown once, at the start,
    // before the settings are loaded (the install folder may be missing because of it).
    void report_unreadable_settings();

private:
    int no_display();

    GtkSystem& system_;
    const sdl::IniStore& settings_;
    std::vector<std::string> args_;
    std::string website_;
};

}  // namespace kolvane::gtk
