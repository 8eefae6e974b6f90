// The wallpaper snapshot: the last picture of the scene, without the caption and the clock, as a bitmap.
#pragma once
#include <string>

namespace kolvane {

struct Scene;

inline constexpr const char* wallpaper_file_name = "Kolvane Image.bmp";
inline constexpr const char* wallpaper_unsaved_text = "Unable To Save The Wallpaper Picture!";

// The snapshot's file: the per-user copy once there is one, otherwise the one in the Windows directory.
std::string wallpaper_path(const Scene& scene);
// Composes the snapshot in ascreen's persistent image, writes it and makes it the desktop wallpaper.
void save_wallpaper(Scene& scene);

}  // namespace kolvane
