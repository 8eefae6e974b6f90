// The values Main records at start-up: the program's folders, the screen's twips per pixel, the host window.
#pragma once
#include <cstdint>
#include <string>

namespace kolvane {

struct StartupValues {
    std::string app_path;       // the program's folder, ending in the path separator
    std::string start_folder;
    // Both end in the path separator. The list files and the snapshot live in the Windows directory where
    // it can be written, otherwise in the per-user folder (empty where the platform has none).
    std::string windows_dir;
    std::string per_user_dir;
    std::int16_t twips_per_pixel_x = 15;
    std::int16_t twips_per_pixel_y = 15;
    std::uint32_t host_window = 0;
};

}  // namespace kolvane
