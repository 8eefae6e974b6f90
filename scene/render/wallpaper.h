// The wallpaper snapshot: the last picture of the scene, without the caption and the clock, as a bitmap.
#pragma once
#include <string>

namespace kolvane {

struct App;

inline constexpr const char* wallpaper_file_name = "Kolvane Image.bmp";

// The snapshot's file: in the Windows directory.
std::string wallpaper_path(const App& app);
// Composes the snapshot in ascreen's persistent image, writes it and makes it the desktop wallpaper.
void save_wallpaper(App& app);

}  // namespace kolvane
