// The assets the generator makes, one function per kind.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <cairo.h>

#include "core.h"

namespace assetgen {

// ---- sprite sheet --------------------------------------------------------------------------

struct FrameRect {
    int x, y, w, h;
};
// Rectangle of frame 0 to 80 on the 720 × 606 sheet (frames 0 and 74 to 80 are empty).
FrameRect frame_rect(int frame);
// The same rectangle on the sheet drawn `scale` times larger: every number times the scale.
FrameRect frame_rect(int frame, int scale);

struct SpriteSheet {
    kolvane::Image sheet;  // 720 × 606 times the scale, black surround
    kolvane::Image mask;   // the same size, black where a figure is opaque, white elsewhere
};
// The sheet at 1× (the sheet of the frame table), or drawn natively at 2× or 3× for large screens:
// the same figures in the scaled rectangles, rendered at that size rather than enlarged.
SpriteSheet make_sprite_sheet(int scale = 1);

// ---- backgrounds -------------------------------------------------------------------------------

inline constexpr int background_count = 10;
const char* background_title(int index);

// What a background is about (a planet, a moon, a galaxy's disc, a comet's head): a box in pixels
// of the rendered picture, x0 and y0 inclusive, x1 and y1 exclusive.
struct Subject {
    std::string what;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
// Renders background `index` at the given size. `stretched` tells that the picture will be shown
// stretched from 4:3 to a wider screen, so round bodies are drawn a little narrow. A picture that is
// not stretched is shown at its own shape and cropped to the screen's, so its round bodies are
// round and its subjects lie where every crop of a 16:9 picture to a common screen keeps them;
// `subjects`, when given, receives their boxes.
FloatImage render_background(int index, int width, int height, bool stretched, std::vector<Subject>* subjects = nullptr);
// The screen shapes a large background is cropped to: from the narrowest (5:4, 1280 × 1024) to the
// widest (64:27, 2560 × 1080), so 4:3, 16:10 and 21:9 too.
inline constexpr double narrowest_screen = 5.0 / 4.0, widest_screen = 64.0 / 27.0;
// The part of a width × height picture that all those crops keep (whole pixels).
Subject crop_safe_area(int width, int height);

// ---- lettering and title pictures --------------------------------------------------------------

// Draws text in the generator's own vector letters (capitals A-Z, digits, blank) onto a Cairo
// context; x, y is the left end of the base line, `height` the capital height.
void lettering_path(cairo_t* cr, const std::string& text, double x, double y, double height, double spacing);
double lettering_width(const std::string& text, double height, double spacing);

kolvane::Image make_title_picture();    // 320 × 240
kolvane::Image make_preview_picture();  // 150 × 112

// The contact sheet: backgrounds, sprite sheet, title and preview and the dialog pictures (the
// button pictures, then the logo) in one PNG.
bool write_contact_sheet(const std::string& path, const std::vector<kolvane::Image>& backgrounds, const kolvane::Image& sheet, const kolvane::Image& title,
                         const kolvane::Image& preview, const std::vector<kolvane::Image>& dialog);

// The sheets at 1×, 2× and 3× (in that order) side by side, and a few frames at each scale one to one.
bool write_sprite_contact_sheet(const std::string& path, const std::vector<kolvane::Image>& sheets);

// ---- compressed files --------------------------------------------------------------------------

// 24-bit RGB pictures as PNG (lossless) and JPEG files, written by stb_image_write; empty on failure.
std::vector<std::uint8_t> encode_png(const kolvane::Image& image);
std::vector<std::uint8_t> encode_jpeg(const kolvane::Image& image, int quality);

// ---- dialog pictures ---------------------------------------------------------------------------

// The colour the dialogs replace by the button face colour when they load the pictures below; it
// fills every pixel the figure does not touch, the top-left pixel included.
inline constexpr std::uint32_t button_key_colour = 0xFF00FF;

// The 32 × 32 pictures of the dialogs' picture buttons, written as buttons/<name>.bmp.
enum class ButtonPicture { audio, captions, password, ok, web };
inline constexpr ButtonPicture button_pictures[] = {ButtonPicture::audio, ButtonPicture::captions, ButtonPicture::password, ButtonPicture::ok,
                                                   ButtonPicture::web};
const char* button_picture_name(ButtonPicture which);
kolvane::Image make_button_picture(ButtonPicture which);
kolvane::Image make_logo_picture();  // 64 × 64, for the About box

// ---- sounds and music --------------------------------------------------------------------------

struct Wave {
    int rate = 22050;
    std::vector<double> samples;  // mono, [-1, 1]
};
std::vector<std::uint8_t> encode_wav(const Wave& wave);
Wave make_title_theme();
Wave make_effect(int number);  // 1 to 9
const char* effect_title(int number);

struct Tune {
    std::string name;
    std::vector<std::uint8_t> smf;
};
std::vector<Tune> make_tunes();

}  // namespace assetgen
