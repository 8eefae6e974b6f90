// Text for the boxes above the scene: the fonts at the screen's DPI, cached glyphs, and the text encodings met.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include <SDL_pixels.h>

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

namespace kolvane::sdl {

// Lists and settings written on Windows hold Western 8-bit text; files edited on Linux hold UTF-8.
// Valid UTF-8 is read as such, anything else as the Western code page. `out` keeps its capacity.
void decode_text(std::string_view bytes, std::u32string& out);
// Typed text (UTF-8) in the Western code page the password is kept in; characters it lacks become "?".
std::string utf8_to_western(std::string_view utf8);
// A Western code page byte as a Unicode character.
char32_t western_to_unicode(unsigned char byte);

// The first existing file of the metric-compatible sans serif face (Liberation Sans), or empty.
std::string sans_font_file(bool bold);

// A font of the sans serif face at `points` on a screen of the given DPI; nullptr when unavailable.
TTF_Font* open_sans_font(bool bold, double points, double dpi_x, double dpi_y);
// The em size in pixels a font of `points` has at `dpi`.
double points_to_pixels(double points, double dpi);

// Draws text in one font and one colour, each glyph rendered once and kept.
class TextPainter {
public:
    TextPainter(TTF_Font* font, SDL_Color colour) : font_(font), colour_(colour) {}
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    bool ready() const { return font_ != nullptr; }
    int line_height() const;
    int width(std::u32string_view text);
    // Draws the line with its top at y, starting at x; clipped to the target.
    void draw(SDL_Surface* target, int x, int y, std::u32string_view text);

private:
    struct Glyph {
        SDL_Surface* picture = nullptr;
        int offset = 0;   // left edge of the picture from the pen position
        int advance = 0;
    };
    const Glyph& glyph(char32_t c);
    int kerning(char32_t previous, char32_t c) const;

    TTF_Font* font_;
    SDL_Color colour_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// The fonts the boxes use, opened once per scene at the screen's DPI and closed with it.
struct SceneFonts {
    SceneFonts(double dpi_x, double dpi_y);
    ~SceneFonts();
    SceneFonts(const SceneFonts&) = delete;
    SceneFonts& operator=(const SceneFonts&) = delete;

    TTF_Font* caption = nullptr;  // 14.25 points, normal weight
    TTF_Font* clock = nullptr;    // 8.25 points, bold
    TTF_Font* dialog = nullptr;   // 8.25 points, for the password prompt
    TTF_Font* dialog_bold = nullptr;

private:
    bool initialised_ = false;
};

}  // namespace kolvane::sdl
