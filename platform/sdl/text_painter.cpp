// Fonts, glyph cache and text decoding for the boxes above the scene.
#include "platform/sdl/text_painter.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "scene/render/overlays.h"

namespace kolvane::sdl {

namespace {

// Bytes 0x80 to 0x9F of the Western code page; 0 where the code page has no character.
constexpr std::array<char32_t, 32> western_high{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at text[i]; 0 length when it is not valid UTF-8.
std::size_t utf8_sequence(std::string_view text, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    std::size_t length = 0;
    if ((b0 & 0xE0) == 0xC0) length = 2, c = b0 & 0x1F;
    else if ((b0 & 0xF0) == 0xE0) length = 3, c = b0 & 0x0F;
    else if ((b0 & 0xF8) == 0xF0) length = 4, c = b0 & 0x07;
    else return 0;
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

bool valid_utf8(std::string_view text) {
    char32_t c = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8_sequence(text, i, c);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace

char32_t western_to_unicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char32_t c = western_high[byte - 0x80u];
        return c != 0 ? c : byte;
    }
    return byte;
}

void decode_text(std::string_view bytes, std::u32string& out) {
    out.clear();
    if (valid_utf8(bytes)) {
        char32_t c = 0;
        for (std::size_t i = 0; i < bytes.size();) {
            i += utf8_sequence(bytes, i, c);
            out.push_back(c);
        }
        return;
    }
    for (const char b : bytes) out.push_back(western_to_unicode(static_cast<unsigned char>(b)));
}

std::string utf8_to_western(std::string_view utf8, std::vector<std::size_t>* unconvertible) {
    std::string out;
    const auto lost = [&] {
        if (unconvertible) unconvertible->push_back(out.size());
        out += '?';
    };
    char32_t c = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = utf8_sequence(utf8, i, c);
        if (n == 0) {
            lost();
            ++i;
            continue;
        }
        i += n;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < western_high.size() && !found; ++k)
            if (western_high[k] == c) {
                out += static_cast<char>(0x80 + k);
                found = true;
            }
        if (!found) lost();
    }
    return out;
}

std::string sans_font_file(bool bold) {
    const char* name = bold ? "LiberationSans-Bold.ttf" : "LiberationSans-Regular.ttf";
    for (const char* folder : {"/usr/share/fonts/truetype/liberation/", "/usr/share/fonts/truetype/liberation2/",
                               "/usr/share/fonts/liberation-sans/", "/usr/share/fonts/liberation/",
                               "/usr/share/fonts/TTF/", "/usr/local/share/fonts/"}) {
        std::error_code ec;
        const std::string path = std::string(folder) + name;
        if (std::filesystem::exists(path, ec)) return path;
    }
    return {};
}

double points_to_pixels(double points, double dpi) { return points * dpi / 72.0; }

TTF_Font* open_sans_font(bool bold, double points, double dpi_x, double dpi_y) {
    const std::string file = sans_font_file(bold);
    if (file.empty()) return nullptr;
    // Sizes come in quarter points (14.25, 8.25) and whole-number DPIs, so both are scaled by four
    // to keep the size exact: 4p points at d/4 DPI is p points at d DPI.
    const auto quarter_points = static_cast<int>(std::lround(points * 4.0));
    const auto quarter_dpi_x = static_cast<unsigned>(std::max(1L, std::lround(dpi_x / 4.0)));
    const auto quarter_dpi_y = static_cast<unsigned>(std::max(1L, std::lround(dpi_y / 4.0)));
    return TTF_OpenFontDPI(file.c_str(), quarter_points, quarter_dpi_x, quarter_dpi_y);
}

TextPainter::TextPainter(TTF_Font* font, SDL_Color colour)
    : font_(font), colour_(colour), glyphs_(glyph_capacity), index_(index_size, 0) {}

TextPainter::~TextPainter() {
    for (std::size_t i = 0; i < used_; ++i) SDL_FreeSurface(glyphs_[i].picture);
}

int TextPainter::line_height() const { return font_ ? TTF_FontHeight(font_) : 0; }

std::size_t TextPainter::home(char32_t c) const {
    // Fibonacci hashing spreads neighbouring code points over the whole index.
    return static_cast<std::size_t>((static_cast<std::uint32_t>(c) * 2654435769u) >> (32 - index_bits));
}

std::size_t TextPainter::find(char32_t c) const {
    std::size_t at = home(c);
    while (index_[at] != 0 && glyphs_[index_[at] - 1u].code != c) at = (at + 1) & (index_size - 1);
    return at;
}

void TextPainter::forget(std::size_t at) {
    // Linear probing: later entries of the run move back into the hole unless their home lies after it.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & (index_size - 1); index_[next] != 0; next = (next + 1) & (index_size - 1)) {
        const std::size_t wanted = home(glyphs_[index_[next] - 1u].code);
        const bool stays = hole <= next ? (hole < wanted && wanted <= next) : (hole < wanted || wanted <= next);
        if (stays) continue;
        index_[hole] = index_[next];
        hole = next;
    }
    index_[hole] = 0;
}

void TextPainter::unlink(std::uint16_t slot) {
    Glyph& g = glyphs_[slot];
    if (g.newer != none) glyphs_[g.newer].older = g.older;
    else newest_ = g.older;
    if (g.older != none) glyphs_[g.older].newer = g.newer;
    else oldest_ = g.newer;
    g.newer = g.older = none;
}

void TextPainter::make_newest(std::uint16_t slot) {
    Glyph& g = glyphs_[slot];
    g.newer = none;
    g.older = newest_;
    if (newest_ != none) glyphs_[newest_].newer = slot;
    newest_ = slot;
    if (oldest_ == none) oldest_ = slot;
}

TextPainter::Glyph& TextPainter::glyph(char32_t c) {
    std::size_t at = find(c);
    if (index_[at] != 0) {
        const auto slot = static_cast<std::uint16_t>(index_[at] - 1u);
        if (newest_ != slot) {
            unlink(slot);
            make_newest(slot);
        }
        return glyphs_[slot];
    }
    std::uint16_t slot = 0;
    if (used_ < glyph_capacity) {
        slot = static_cast<std::uint16_t>(used_++);
    } else {
        // Full: the glyph used longest ago gives its place.
        slot = oldest_;
        unlink(slot);
        forget(find(glyphs_[slot].code));
        SDL_FreeSurface(glyphs_[slot].picture);
        at = find(c);
    }
    Glyph& g = glyphs_[slot];
    g = Glyph{};
    g.code = c;
    int minx = 0, maxx = 0, miny = 0, maxy = 0;
    if (TTF_GlyphMetrics32(font_, static_cast<Uint32>(c), &minx, &maxx, &miny, &maxy, &g.advance) == 0) {
        // A glyph reaching left of its pen position is rendered from its own left edge.
        g.offset = std::min(0, minx);
        g.right = std::max(g.advance, maxx);
    } else {
        g.rendered = true;  // nothing to draw
    }
    index_[at] = static_cast<std::uint16_t>(slot + 1u);
    make_newest(slot);
    return g;
}

SDL_Surface* TextPainter::picture(Glyph& g) {
    if (!g.rendered) {
        g.rendered = true;
        ++renderings_;
        g.picture = TTF_RenderGlyph32_Blended(font_, static_cast<Uint32>(g.code), colour_);
    }
    return g.picture;
}

int TextPainter::kerning(char32_t previous, char32_t c) const {
    if (previous == 0) return 0;
    return TTF_GetFontKerningSizeGlyphs32(font_, static_cast<Uint32>(previous), static_cast<Uint32>(c));
}

int TextPainter::width(std::u32string_view text) {
    if (!font_) return 0;
    int pen = 0;
    char32_t previous = 0;
    for (const char32_t c : text) {
        pen += kerning(previous, c) + glyph(c).advance;
        previous = c;
    }
    return pen;
}

int TextPainter::advance(char32_t previous, char32_t c) {
    if (!font_) return 0;
    return kerning(previous, c) + glyph(c).advance;
}

void TextPainter::draw(SDL_Surface* target, int x, int y, std::u32string_view text) {
    if (!font_ || !target) return;
    const SDL_Rect& clip = target->clip_rect;
    int pen = x;
    char32_t previous = 0;
    for (const char32_t c : text) {
        pen += kerning(previous, c);
        Glyph& g = glyph(c);
        // Glyphs wholly outside the clip rectangle are passed over unrendered: a long line is measured, not drawn.
        const bool inside = pen + g.right >= clip.x && pen + g.offset < clip.x + clip.w;
        if (SDL_Surface* p = inside ? picture(g) : nullptr) {
            SDL_Rect where{pen + g.offset, y, p->w, p->h};
            SDL_BlitSurface(p, nullptr, target, &where);
        }
        pen += g.advance;
        previous = c;
    }
}

SceneFonts::SceneFonts(double dpi_x, double dpi_y) {
    if (TTF_Init() != 0) return;
    initialised_ = true;
    caption = open_sans_font(caption_style.bold, caption_style.points, dpi_x, dpi_y);
    clock = open_sans_font(clock_style.bold, clock_style.points, dpi_x, dpi_y);
    dialog = open_sans_font(false, 8.25, dpi_x, dpi_y);
    dialog_bold = open_sans_font(true, 8.25, dpi_x, dpi_y);
}

SceneFonts::~SceneFonts() {
    for (TTF_Font* font : {caption, clock, dialog, dialog_bold})
        if (font) TTF_CloseFont(font);
    if (initialised_) TTF_Quit();
}

}  // namespace kolvane::sdl
