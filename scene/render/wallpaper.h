// The wallpaper snapshot: the last picture of the scene, without the caption and the clock, as a bitmap.
#pragma once
#include <string>

namespace kolvane {

struct Scene;

inline constexpr const char* wallpaper_file_name = "Kolvane Image.bmp";

// The snapshot's file: in the Windows directory.
std::string wallpaper_path(const Scene& scene);
// Composes the snapshot in ascreen's persistent image, writes it and makes it the desktop wallpaper.
void save_wallpaper(Scene& scene);

}  // namespace kolvane
