// Starting programs and opening documents or addresses.
#include "platform/gtk/launcher.h"

#include <gio/gio.h>
#include <unistd.h>

#include <cstdio>

#include "platform/gtk/gtk_system.h"

namespace kolvane::gtk {

namespace {

bool report(GError* error, const std::string& what) {
    std::fprintf(stderr, "%s: cannot open %s: %s\n", settings_program_name, what.c_str(),
                 error ? error->message : "unknown error");
    if (error) g_error_free(error);
    return false;
}

bool open_uri(const std::string& uri) {
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) return true;
    return report(error, uri);
}

}  // namespace

bool start_program(const std::string& path) {
    gchar* argv[] = {const_cast<gchar*>(path.c_str()), nullptr};
    GError* error = nullptr;
    // GLib reaps the child itself; the program runs on its own.
    if (g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error)) return true;
    return report(error, path);
}

bool shell_open(const std::string& target) {
    if (target.find("://") != std::string::npos) return open_uri(target);
    if (!g_file_test(target.c_str(), G_FILE_TEST_EXISTS)) {
        std::fprintf(stderr, "%s: there is no %s\n", settings_program_name, target.c_str());
        return false;
    }
    if (g_file_test(target.c_str(), G_FILE_TEST_IS_REGULAR) && access(target.c_str(), X_OK) == 0)
        return start_program(target);
    GError* error = nullptr;
    gchar* uri = g_filename_to_uri(target.c_str(), nullptr, &error);
    if (!uri) return report(error, target);
    const bool opened = open_uri(uri);
    g_free(uri);
    return opened;
}

}  // namespace kolvane::gtk
