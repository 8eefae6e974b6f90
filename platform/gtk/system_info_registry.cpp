// The system information program's path for the About box, found on PATH.
#include "platform/gtk/system_info_registry.h"

#include <glib.h>

namespace kolvane::gtk {

namespace {
constexpr const char* system_info_key = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* system_info_value = "PATH";
constexpr std::size_t value_buffer = 255;
}  // namespace

std::vector<std::string> system_info_programs() { return {"hardinfo", "gnome-system-monitor", "lshw-gtk"}; }

std::optional<RegistryData> SystemInfoRegistry::query(RegistryRoot root, const std::string& sub_key,
                                                      const std::string& value_name) {
    if (root != RegistryRoot::local_machine || sub_key != system_info_key || value_name != system_info_value)
        return others_.query(root, sub_key, value_name);
    for (const std::string& program : programs_) {
        gchar* found = g_find_program_in_path(program.c_str());
        if (!found) continue;
        std::string path = found;
        g_free(found);
        // A string value reports its terminating NUL in its length, and must fit the reader's buffer.
        if (path.size() + 1 > value_buffer) continue;
        RegistryData data;
        data.type = RegistryType::text;
        data.bytes = path + '\0';
        data.length = static_cast<std::uint32_t>(data.bytes.size());
        return data;
    }
    return std::nullopt;
}

}  // namespace kolvane::gtk
