// Laying out and drawing one caption line on the Linux backend: short captions, and long ones of many distinct characters.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>
#include <sys/resource.h>

#include <string>

#include "platform/sdl/text_painter.h"

namespace kolvane::sdl {
namespace {

// Every character the face has, then every one it lacks, over and over, cut to `count`.
std::u32string caption_of(TTF_Font* font, std::size_t count) {
    std::u32string present, absent, text;
    for (char32_t c = 0x21; c < 0x30000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        (TTF_GlyphIsProvided32(font, c) ? present : absent).push_back(c);
    }
    while (text.size() < count) text += present + absent;
    text.resize(count);
    return text;
}

// Measures the caption and draws it centred on a line of a 1920-pixel screen, as a caption start does.
void BM_CaptionLine(benchmark::State& state) {
    if (TTF_Init() != 0 || sans_font_file(false).empty()) {
        state.SkipWithError("no fonts");
        return;
    }
    TTF_Font* font = open_sans_font(false, 14.25, 96, 96);
    SDL_Surface* line = SDL_CreateRGBSurfaceWithFormat(0, 1920, 40, 32, SDL_PIXELFORMAT_RGB888);
    {
        TextPainter painter(font, SDL_Color{255, 255, 255, 255});
        const std::u32string text = caption_of(font, static_cast<std::size_t>(state.range(0)));
        for (auto _ : state) {
            const int width = painter.width(text);
            painter.draw(line, (line->w - width) / 2, 0, text);
            benchmark::DoNotOptimize(line->pixels);
        }
        state.counters["glyphs_kept"] = static_cast<double>(painter.glyphs_known());
        state.counters["chars_per_s"] = benchmark::Counter(static_cast<double>(text.size()) * static_cast<double>(state.iterations()),
                                                           benchmark::Counter::kIsRate);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    }
    SDL_FreeSurface(line);
    TTF_CloseFont(font);
    TTF_Quit();
}
BENCHMARK(BM_CaptionLine)->Arg(40)->Arg(100000)->Arg(4000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kolvane::sdl
