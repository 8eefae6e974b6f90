// Text for the boxes above the scene: the fonts at the screen's DPI, cached glyphs, and the text encodings met.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <SDL_pixels.h>

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

namespace kolvane::sdl {

// Lists and settings written on Windows hold Western 8-bit text; files edited on Linux hold UTF-8.
// Valid UTF-8 is read as such, anything else as the Western code page. `out` keeps its capacity.
void decode_text(std::string_view bytes, std::u32string& out);
// Typed text (UTF-8) in the Western code page the password is kept in; characters it lacks become "?",
// and their positions in the result are added to `unconvertible` when it is given.
std::string utf8_to_western(std::string_view utf8, std::vector<std::size_t>* unconvertible = nullptr);
// A Western code page byte as a Unicode character.
char32_t western_to_unicode(unsigned char byte);

// The first existing file of the metric-compatible sans serif face (Liberation Sans), or empty.
std::string sans_font_file(bool bold);

// A font of the sans serif face at `points` on a screen of the given DPI; nullptr when unavailable.
TTF_Font* open_sans_font(bool bold, double points, double dpi_x, double dpi_y);
// The em size in pixels a font of `points` has at `dpi`.
double points_to_pixels(double points, double dpi);

// Draws text in one font and one colour. The most recently used glyphs are kept, a fixed number of
// them, so text with many distinct characters holds bounded memory and known glyphs cost no allocation.
class TextPainter {
public:
    // Far more than the characters a caption, the clock or a dialog shows; about 2 MB of pictures at most.
    static constexpr std::size_t glyph_capacity = 512;

    TextPainter(TTF_Font* font, SDL_Color colour);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    bool ready() const { return font_ != nullptr; }
    int line_height() const;
    int width(std::u32string_view text);
    // The pen's move over `c` after `previous` (0 at the start of a line): its advance and their kerning.
    int advance(char32_t previous, char32_t c);
    // Draws the line with its top at y, starting at x; clipped to the target. Only glyphs that reach
    // into the target's clip rectangle are rendered.
    void draw(SDL_Surface* target, int x, int y, std::u32string_view text);
    // Glyphs kept (their metrics, and their pictures once drawn), and pictures rendered so far.
    std::size_t glyphs_known() const { return used_; }
    std::size_t renderings() const { return renderings_; }

private:
    struct Glyph {
        char32_t code = 0;
        SDL_Surface* picture = nullptr;
        bool rendered = false;  // the picture was asked for (it stays null for a failed rendering)
        int offset = 0;         // left edge of the picture from the pen position
        int right = 0;          // right edge of the ink from the pen position
        int advance = 0;
        std::uint16_t newer = none, older = none;  // the order of use, most recent first
    };
    static constexpr std::uint16_t none = 0xFFFF;
    static constexpr int index_bits = 10;  // the index has room for twice the glyphs, so runs stay short
    static constexpr std::size_t index_size = std::size_t{1} << index_bits;
    static_assert(index_size >= 2 * glyph_capacity && glyph_capacity < none);

    Glyph& glyph(char32_t c);
    SDL_Surface* picture(Glyph& g);
    int kerning(char32_t previous, char32_t c) const;
    std::size_t home(char32_t c) const;
    std::size_t find(char32_t c) const;  // index_ position holding c, or of the empty entry ending its run
    void forget(std::size_t at);        // empties index_[at], keeping every other code findable
    void unlink(std::uint16_t slot);
    void make_newest(std::uint16_t slot);

    TTF_Font* font_;
    SDL_Color colour_;
    std::vector<Glyph> glyphs_;             // glyph_capacity slots, the first used_ in use
    std::vector<std::uint16_t> index_;      // open addressing by code: slot + 1, or 0 when empty
    std::size_t used_ = 0;
    std::size_t renderings_ = 0;
    std::uint16_t newest_ = none, oldest_ = none;
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
