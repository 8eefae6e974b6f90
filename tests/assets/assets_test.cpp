// Contract tests of the committed assets: the sprite sheet and mask against the scene's frame
// table, the backgrounds, the preview and title pictures, the dialog pictures, the sounds and the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "scene/render/bmp.h"

namespace {

const std::string assets = KOLVANE_ASSETS_DIR;

struct Rect {
    int x, y, w, h;
};

// The scene's frame table.
Rect frame(int f) {
    static const Rect singles[20] = {
        {0, 0, 0, 0},       {3, 2, 94, 82},     {103, 1, 89, 89},    {196, 2, 70, 59},    {272, 2, 89, 66},
        {367, 1, 80, 60},   {449, 1, 71, 28},   {521, 3, 21, 15},    {545, 4, 18, 15},    {570, 2, 17, 13},
        {3, 96, 96, 151},   {110, 97, 144, 60}, {110, 162, 144, 60}, {265, 81, 125, 144}, {401, 118, 59, 69},
        {469, 112, 30, 35}, {560, 60, 28, 166}, {592, 40, 128, 158}, {3, 262, 126, 167},  {170, 263, 126, 168},
    };
    if (f >= 1 && f <= 19) return singles[f];
    if (f >= 20 && f <= 43) return {30 * ((f - 20) % 6), 480 + 30 * ((f - 20) / 6), 30, 30};
    if (f >= 44 && f <= 67) return {360 + 60 * ((f - 44) % 6), 240 + 60 * ((f - 44) / 6), 60, 60};
    if (f >= 68 && f <= 73) return {340 + 12 * (f - 68), 516, 9, 9};
    return {0, 0, 0, 0};
}

std::vector<std::uint8_t> read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int bits_per_pixel(const std::string& path) {
    const std::vector<std::uint8_t> d = read_all(path);
    if (d.size() < 30) return 0;
    return d[28] | (d[29] << 8);
}

const kolvane::Image& sheet() {
    static const kolvane::Image img = kolvane::read_bmp(assets + "/sprite.bmp").value_or(kolvane::Image{});
    return img;
}
const kolvane::Image& mask() {
    static const kolvane::Image img = kolvane::read_bmp(assets + "/mask.bmp").value_or(kolvane::Image{});
    return img;
}

bool opaque(int x, int y) { return mask().at(x, y) == 0; }

struct Box {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    bool empty() const { return x1 < 0; }
    int w() const { return x1 - x0 + 1; }
    int h() const { return y1 - y0 + 1; }
};

Box figure_box(const Rect& r) {
    Box b;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (opaque(x, y)) {
                b.x0 = std::min(b.x0, x - r.x);
                b.y0 = std::min(b.y0, y - r.y);
                b.x1 = std::max(b.x1, x - r.x);
                b.y1 = std::max(b.y1, y - r.y);
            }
    return b;
}

double luminance(std::uint32_t p) { return 0.3 * ((p >> 16) & 0xFF) + 0.59 * ((p >> 8) & 0xFF) + 0.11 * (p & 0xFF); }

// Mean absolute luminance difference between two frames of the same size.
double frame_difference(int a, int b) {
    const Rect ra = frame(a), rb = frame(b);
    double sum = 0;
    for (int y = 0; y < ra.h; ++y)
        for (int x = 0; x < ra.w; ++x) sum += std::fabs(luminance(sheet().at(ra.x + x, ra.y + y)) - luminance(sheet().at(rb.x + x, rb.y + y)));
    return sum / (ra.w * ra.h);
}

}  // namespace

// ---- sprite sheet and mask -------------------------------------------------------------------

TEST(SpriteSheet, SizesAndFormats) {
    ASSERT_EQ(sheet().width, 720);
    ASSERT_EQ(sheet().height, 606);
    ASSERT_EQ(mask().width, 720);
    ASSERT_EQ(mask().height, 606);
    EXPECT_EQ(bits_per_pixel(assets + "/sprite.bmp"), 8);  // 256-colour palette picture
    EXPECT_EQ(bits_per_pixel(assets + "/mask.bmp"), 1);    // black and white
}

TEST(SpriteSheet, FrameRectanglesDoNotOverlapAndFitTheSheet) {
    for (int a = 1; a <= 73; ++a) {
        const Rect ra = frame(a);
        EXPECT_GE(ra.x, 0);
        EXPECT_LE(ra.x + ra.w, 720) << "frame " << a;
        EXPECT_LE(ra.y + ra.h, 600) << "frame " << a;
        for (int b = a + 1; b <= 73; ++b) {
            const Rect rb = frame(b);
            const bool apart = ra.x + ra.w <= rb.x || rb.x + rb.w <= ra.x || ra.y + ra.h <= rb.y || rb.y + rb.h <= ra.y;
            EXPECT_TRUE(apart) << "frames " << a << " and " << b;
        }
    }
}

TEST(SpriteSheet, MaskIsBlackAndWhiteOnly) {
    for (std::uint32_t p : mask().pixels) ASSERT_TRUE(p == 0 || p == 0xFFFFFF);
}

TEST(SpriteSheet, MaskIsBlackExactlyWhereTheFigureIsOpaque) {
    // Sheet black wherever the mask is white (the black surround), and no figure pixel is black,
    // so the mask is black exactly where the sheet shows a figure.
    int figure = 0;
    for (int y = 0; y < 606; ++y) {
        for (int x = 0; x < 720; ++x) {
            const bool in_figure = sheet().at(x, y) != 0;
            ASSERT_EQ(opaque(x, y), in_figure) << "at " << x << ", " << y;
            figure += in_figure ? 1 : 0;
        }
    }
    EXPECT_GT(figure, 50000);
}

TEST(SpriteSheet, EveryFigureLiesInsideItsRectangle) {
    std::vector<int> owner(720 * 606, 0);
    for (int f = 1; f <= 73; ++f) {
        const Rect r = frame(f);
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) owner[static_cast<std::size_t>(y * 720 + x)] = f;
    }
    for (int y = 0; y < 606; ++y)
        for (int x = 0; x < 720; ++x)
            if (opaque(x, y)) {
                ASSERT_NE(owner[static_cast<std::size_t>(y * 720 + x)], 0) << "figure pixel outside every frame at " << x << ", " << y;
            }
}

TEST(SpriteSheet, EveryFrameShowsAFigureThatFillsItsRectangle) {
    for (int f = 1; f <= 67; ++f) {
        const Rect r = frame(f);
        const Box b = figure_box(r);
        ASSERT_FALSE(b.empty()) << "frame " << f << " is empty";
        // The figure reaches across most of its rectangle in at least one direction.
        const double fill = std::max(static_cast<double>(b.w()) / r.w, static_cast<double>(b.h()) / r.h);
        // A tumbling rock is sometimes seen end-on, so the grids are held to less; the rock
        // fragments are so small that one pixel of anti-aliased edge is a tenth of them.
        const double wanted = f >= 20 ? 0.7 : (f >= 7 && f <= 9 ? 0.78 : 0.9);
        EXPECT_GE(fill, wanted) << "frame " << f;
    }
}

TEST(SpriteSheet, FigureEdgesAreCrisp) {
    // A 1-bit cut leaves no isolated specks: every opaque pixel of a figure has an opaque neighbour.
    for (int f = 1; f <= 67; ++f) {
        const Rect r = frame(f);
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x) {
                if (!opaque(x, y)) continue;
                bool neighbour = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx != 0 || dy != 0) && x + dx >= r.x && x + dx < r.x + r.w && y + dy >= r.y && y + dy < r.y + r.h) neighbour = neighbour || opaque(x + dx, y + dy);
                EXPECT_TRUE(neighbour) << "lone pixel in frame " << f << " at " << x << ", " << y;
            }
        }
    }
}

TEST(SpriteSheet, Frame19IsFrame18Mirrored) {
    const Rect a = frame(18), b = frame(19);
    for (int y = 0; y < a.h; ++y) {
        for (int x = 0; x < a.w; ++x) {
            ASSERT_EQ(sheet().at(b.x + a.w - 1 - x, b.y + y), sheet().at(a.x + x, a.y + y)) << x << ", " << y;
            ASSERT_EQ(mask().at(b.x + a.w - 1 - x, b.y + y), mask().at(a.x + x, a.y + y)) << x << ", " << y;
        }
    }
    for (int x = 0; x < b.w; ++x) EXPECT_EQ(sheet().at(b.x + x, b.y + b.h - 1), 0u);  // frame 19's extra row
}

TEST(SpriteSheet, TheAstronautIsTheSameFigureInThreeSizes) {
    const Box large = figure_box(frame(13)), medium = figure_box(frame(14)), small = figure_box(frame(15));
    const double ar_l = static_cast<double>(large.w()) / large.h(), ar_m = static_cast<double>(medium.w()) / medium.h(), ar_s = static_cast<double>(small.w()) / small.h();
    EXPECT_NEAR(ar_m, ar_l, 0.08);
    EXPECT_NEAR(ar_s, ar_l, 0.12);
    EXPECT_GT(large.h(), medium.h());
    EXPECT_GT(medium.h(), small.h());
}

TEST(SpriteSheet, StarFramesHaveTheGivenSizes) {
    const int across[6] = {9, 7, 5, 3, 1, 0};
    for (int k = 0; k < 6; ++k) {
        const Rect r = frame(68 + k);
        Box b;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                if (sheet().at(x, y) != 0) {
                    b.x0 = std::min(b.x0, x - r.x);
                    b.y0 = std::min(b.y0, y - r.y);
                    b.x1 = std::max(b.x1, x - r.x);
                    b.y1 = std::max(b.y1, y - r.y);
                }
        if (across[k] == 0) {
            EXPECT_TRUE(b.empty()) << "frame 73 must be all black";
            continue;
        }
        ASSERT_FALSE(b.empty()) << "frame " << 68 + k;
        EXPECT_EQ(b.w(), across[k]) << "frame " << 68 + k;
        EXPECT_EQ(b.h(), across[k]) << "frame " << 68 + k;
        EXPECT_EQ(b.x0 + b.x1, 8) << "centred, frame " << 68 + k;
        EXPECT_EQ(b.y0 + b.y1, 8) << "centred, frame " << 68 + k;
        // Plus-shaped: the centre row and column are lit end to end, and the centre is the brightest.
        const int c = 4, arm = across[k] / 2;
        for (int d = -arm; d <= arm; ++d) {
            EXPECT_NE(sheet().at(r.x + c + d, r.y + c), 0u);
            EXPECT_NE(sheet().at(r.x + c, r.y + c + d), 0u);
        }
        if (arm > 0) {
            EXPECT_EQ(sheet().at(r.x + c + arm, r.y + c + arm), 0u) << "frame " << 68 + k << " has no corners";
        }
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) EXPECT_LE(luminance(sheet().at(r.x + x, r.y + y)), luminance(sheet().at(r.x + c, r.y + c)));
    }
}

TEST(SpriteSheet, AsteroidViewsTumbleSmoothlyAndLoop) {
    for (int first : {20, 44}) {
        std::vector<double> steps;
        for (int i = 0; i < 24; ++i) steps.push_back(frame_difference(first + i, first + (i + 1) % 24));
        const double loop_step = steps[23];
        const double max_step = *std::max_element(steps.begin(), steps.begin() + 23);
        const double min_step = *std::min_element(steps.begin(), steps.begin() + 23);
        // Every view differs from the next, and the step from the last back to the first is like
        // any other step: no jump.
        EXPECT_GT(min_step, 1.0) << "grid " << first;
        EXPECT_LE(loop_step, max_step * 1.25) << "grid " << first;
        EXPECT_GE(loop_step, min_step * 0.75) << "grid " << first;
        // All 24 views are different from each other, and views far apart differ more than neighbours.
        double far_sum = 0, near_sum = 0;
        for (int i = 0; i < 24; ++i) {
            for (int j = i + 1; j < 24; ++j) EXPECT_GT(frame_difference(first + i, first + j), 1.0) << "views " << i << " and " << j;
            far_sum += frame_difference(first + i, first + (i + 8) % 24);
            near_sum += steps[static_cast<std::size_t>(i)];
        }
        EXPECT_GT(far_sum, near_sum * 1.3) << "grid " << first;
    }
}

// ---- backgrounds and title pictures ----------------------------------------------------------

TEST(Pictures, TenDarkDistinctBackgrounds) {
    std::vector<kolvane::Image> bgs;
    for (int i = 0; i < 10; ++i) {
        const auto img = kolvane::read_bmp(assets + "/backgrounds/bg" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(img.has_value()) << "bg" << i;
        ASSERT_EQ(img->width, 640);
        ASSERT_EQ(img->height, 480);
        double sum = 0, sum2 = 0;
        for (std::uint32_t p : img->pixels) {
            const double l = luminance(p);
            sum += l;
            sum2 += l * l;
        }
        const double n = static_cast<double>(img->pixels.size());
        const double mean = sum / n, sd = std::sqrt(std::max(0.0, sum2 / n - mean * mean));
        EXPECT_LT(mean, 75.0) << "bg" << i << " is too bright for the sprites to read on it";
        EXPECT_GT(mean, 3.0) << "bg" << i << " is nearly empty";
        EXPECT_GT(sd, 6.0) << "bg" << i << " has no structure";
        bgs.push_back(*img);
    }
    for (std::size_t a = 0; a < bgs.size(); ++a)
        for (std::size_t b = a + 1; b < bgs.size(); ++b) EXPECT_NE(bgs[a].pixels, bgs[b].pixels);
}

TEST(Pictures, PreviewAndTitleHaveTheirSizesAnd256Colours) {
    const auto preview = kolvane::read_bmp(assets + "/preview.bmp");
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->width, 150);
    EXPECT_EQ(preview->height, 112);
    EXPECT_EQ(bits_per_pixel(assets + "/preview.bmp"), 8);
    const auto title = kolvane::read_bmp(assets + "/title.bmp");
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(title->width, 320);
    EXPECT_EQ(title->height, 240);
    EXPECT_EQ(bits_per_pixel(assets + "/title.bmp"), 8);
}

// ---- dialog pictures ---------------------------------------------------------------------------

TEST(DialogPictures, KeyedFiguresWithoutAFringe) {
    // The dialogs replace the key colour by the button face colour, so it must fill the top-left
    // pixel and the surround exactly, and the anti-aliased edges must blend towards a neutral grey:
    // a pixel whose red and blue stand well above its green is a trace of the key.
    constexpr std::uint32_t key = 0xFF00FF;
    struct Want {
        const char* name;
        int size;
    };
    std::vector<std::vector<std::uint32_t>> seen;
    for (const Want& want : {Want{"buttons/audio.bmp", 32}, Want{"buttons/captions.bmp", 32}, Want{"buttons/password.bmp", 32}, Want{"buttons/ok.bmp", 32},
                             Want{"buttons/web.bmp", 32}, Want{"logo.bmp", 64}}) {
        const std::string path = assets + "/" + want.name;
        const auto img = kolvane::read_bmp(path);
        ASSERT_TRUE(img.has_value()) << want.name;
        ASSERT_EQ(img->width, want.size) << want.name;
        ASSERT_EQ(img->height, want.size) << want.name;
        EXPECT_EQ(bits_per_pixel(path), 24) << want.name;
        EXPECT_EQ(img->at(0, 0), key) << want.name;
        int figure = 0, fringe = 0;
        for (std::uint32_t p : img->pixels) {
            if (p == key) continue;
            ++figure;
            const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF), b = static_cast<int>(p & 0xFF);
            if (r > g + 40 && b > g + 40) ++fringe;
        }
        const double share = static_cast<double>(figure) / static_cast<double>(img->pixels.size());
        EXPECT_GE(share, 0.15) << want.name << " shows too little";
        EXPECT_LE(share, 0.85) << want.name << " leaves too little face";
        EXPECT_EQ(fringe, 0) << want.name << " has pixels tinted by the key colour";
        // The figure keeps a margin: at most a few of its pixels reach each edge.
        int top = 0, bottom = 0, left = 0, right = 0;
        for (int i = 0; i < want.size; ++i) {
            top += img->at(i, 0) != key ? 1 : 0;
            bottom += img->at(i, want.size - 1) != key ? 1 : 0;
            left += img->at(0, i) != key ? 1 : 0;
            right += img->at(want.size - 1, i) != key ? 1 : 0;
        }
        EXPECT_LE(std::max({top, bottom, left, right}), 3) << want.name;
        for (const auto& other : seen) EXPECT_NE(other, img->pixels) << want.name;
        seen.push_back(img->pixels);
    }
}

// ---- sounds ------------------------------------------------------------------------------------

namespace {

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int> samples;  // first channel
    double seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0; }
};

std::optional<Wav> read_wav(const std::string& path) {
    const std::vector<std::uint8_t> d = read_all(path);
    auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16)) | (static_cast<std::uint32_t>(d[at + 3]) << 24); };
    auto u16 = [&](std::size_t at) { return static_cast<int>(d[at] | (d[at + 1] << 8)); };
    if (d.size() < 44 || std::string(d.begin(), d.begin() + 4) != "RIFF" || std::string(d.begin() + 8, d.begin() + 12) != "WAVE") return std::nullopt;
    Wav w;
    std::size_t at = 12;
    bool have_fmt = false;
    while (at + 8 <= d.size()) {
        const std::string id(d.begin() + static_cast<std::ptrdiff_t>(at), d.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::size_t size = u32(at + 4);
        const std::size_t body = at + 8;
        if (body + size > d.size()) return std::nullopt;
        if (id == "fmt ") {
            if (u16(body) != 1) return std::nullopt;  // PCM only
            w.channels = u16(body + 2);
            w.rate = static_cast<int>(u32(body + 4));
            w.bits = u16(body + 14);
            have_fmt = true;
        } else if (id == "data" && have_fmt && w.bits == 16 && w.channels > 0) {
            const std::size_t frames = size / (2 * static_cast<std::size_t>(w.channels));
            for (std::size_t i = 0; i < frames; ++i) w.samples.push_back(static_cast<std::int16_t>(u16(body + i * 2 * static_cast<std::size_t>(w.channels))));
            return w;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace

TEST(Sounds, NineDistinctEffectsOfOneToSixSeconds) {
    std::vector<std::vector<int>> seen;
    for (int n = 1; n <= 9; ++n) {
        const std::string name = "orvel" + std::to_string(n) + ".wav";
        const auto w = read_wav(assets + "/sounds/" + name);
        ASSERT_TRUE(w.has_value()) << name;
        EXPECT_GE(w->rate, 22050) << name;
        EXPECT_EQ(w->bits, 16) << name;
        EXPECT_GE(w->seconds(), 1.0) << name;
        EXPECT_LE(w->seconds(), 6.0) << name;
        int peak = 0;
        for (int s : w->samples) peak = std::max(peak, std::abs(s));
        EXPECT_GT(peak, 32767 * 0.8) << name << " is not normalised";
        EXPECT_LT(peak, 32767) << name << " clips";
        // Silent ends: no click when it starts or stops.
        EXPECT_LE(std::abs(w->samples.front()), 64) << name;
        EXPECT_LE(std::abs(w->samples.back()), 64) << name;
        for (const auto& other : seen) EXPECT_NE(other, w->samples) << name;
        seen.push_back(w->samples);
    }
}

TEST(Sounds, TitleThemeLoopsWithoutAClick) {
    const auto w = read_wav(assets + "/sounds/title.wav");
    ASSERT_TRUE(w.has_value());
    EXPECT_GE(w->rate, 22050);
    EXPECT_GE(w->seconds(), 15.0);
    EXPECT_LE(w->seconds(), 60.0);
    int peak = 0;
    for (int s : w->samples) peak = std::max(peak, std::abs(s));
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 32767 / 4);
    // The step from the last sample back to the first is no larger than the steps inside the sound.
    std::vector<int> steps;
    for (std::size_t i = 1; i < w->samples.size(); ++i) steps.push_back(std::abs(w->samples[i] - w->samples[i - 1]));
    std::sort(steps.begin(), steps.end());
    const int p99 = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::abs(w->samples.front() - w->samples.back()), p99);
    // The slope carries on too: the second difference across the seam is ordinary.
    const std::size_t n = w->samples.size();
    const int curve = std::abs((w->samples[0] - w->samples[n - 1]) - (w->samples[n - 1] - w->samples[n - 2]));
    EXPECT_LE(curve, p99);
}

// ---- music ------------------------------------------------------------------------------------

namespace {

struct Midi {
    int format = -1, tracks = 0, division = 0;
    double seconds = 0;
    int notes = 0;
    std::vector<int> programs;
};

std::optional<Midi> read_midi(const std::string& path) {
    const std::vector<std::uint8_t> d = read_all(path);
    auto be = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | d[at + static_cast<std::size_t>(i)];
        return v;
    };
    if (d.size() < 14 || std::string(d.begin(), d.begin() + 4) != "MThd" || be(4, 4) != 6) return std::nullopt;
    Midi m;
    m.format = static_cast<int>(be(8, 2));
    m.tracks = static_cast<int>(be(10, 2));
    m.division = static_cast<int>(be(12, 2));
    if (m.division <= 0 || (m.division & 0x8000) != 0) return std::nullopt;
    struct Tempo {
        std::uint64_t tick;
        std::uint32_t us;
    };
    std::vector<Tempo> tempos;
    std::uint64_t last_tick = 0;
    std::size_t at = 14;
    for (int t = 0; t < m.tracks; ++t) {
        if (at + 8 > d.size() || std::string(d.begin() + static_cast<std::ptrdiff_t>(at), d.begin() + static_cast<std::ptrdiff_t>(at + 4)) != "MTrk") return std::nullopt;
        const std::size_t end = at + 8 + be(at + 4, 4);
        if (end > d.size()) return std::nullopt;
        std::size_t p = at + 8;
        std::uint64_t tick = 0;
        int status = 0;
        bool ended = false;
        auto var = [&]() {
            std::uint32_t v = 0;
            for (int i = 0; i < 4 && p < end; ++i) {
                const std::uint8_t b = d[p++];
                v = (v << 7) | (b & 0x7F);
                if ((b & 0x80) == 0) break;
            }
            return v;
        };
        while (p < end && !ended) {
            tick += var();
            if (p >= end) return std::nullopt;
            std::uint8_t b = d[p];
            if (b & 0x80) {
                status = b;
                ++p;
            } else if (status == 0) {
                return std::nullopt;  // running status without a status
            }
            if (status == 0xFF) {
                const std::uint8_t type = d[p++];
                const std::uint32_t len = var();
                if (type == 0x51 && len == 3) tempos.push_back({tick, be(p, 3)});
                if (type == 0x2F) ended = true;
                p += len;
                status = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                p += var();
                status = 0;
            } else {
                const int kind = status & 0xF0;
                const int size = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (p + static_cast<std::size_t>(size) > end) return std::nullopt;
                if (kind == 0x90 && d[p + 1] > 0) ++m.notes;
                if (kind == 0xC0) m.programs.push_back(d[p]);
                p += static_cast<std::size_t>(size);
            }
        }
        if (!ended) return std::nullopt;
        last_tick = std::max(last_tick, tick);
        at = end;
    }
    // Seconds up to the last tick through the tempo map (120 beats a minute until the first change).
    std::sort(tempos.begin(), tempos.end(), [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
    double us = 0;
    std::uint64_t prev = 0;
    std::uint32_t cur = 500000;
    for (const Tempo& t : tempos) {
        if (t.tick >= last_tick) break;
        us += static_cast<double>(t.tick - prev) * cur / m.division;
        prev = t.tick;
        cur = t.us;
    }
    us += static_cast<double>(last_tick - prev) * cur / m.division;
    m.seconds = us / 1e6;
    return m;
}

}  // namespace

TEST(Music, TwoAmbientTunesOfTwoToThreeMinutes) {
    for (const char* name : {"nebula-drift.mid", "orbit-lullaby.mid"}) {
        const auto m = read_midi(assets + "/music/" + name);
        ASSERT_TRUE(m.has_value()) << name;
        EXPECT_EQ(m->format, 1) << name;
        EXPECT_GE(m->tracks, 3) << name;
        EXPECT_GE(m->seconds, 120.0) << name;
        EXPECT_LE(m->seconds, 180.0) << name;
        EXPECT_GT(m->notes, 200) << name;
        // A General MIDI pad (programs 88 to 95) carries the harmony.
        EXPECT_TRUE(std::any_of(m->programs.begin(), m->programs.end(), [](int p) { return p >= 88 && p <= 95; })) << name;
    }
}

// ---- the engine's BMP code on these files --------------------------------------------------

TEST(Bmp, RoundTripsThroughEveryFormat) {
    const kolvane::Image& s = sheet();
    for (auto format : {kolvane::BmpFormat::rgb24, kolvane::BmpFormat::indexed8}) {
        const auto back = kolvane::decode_bmp(kolvane::encode_bmp(s, format));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->pixels, s.pixels);
    }
    const auto m = kolvane::decode_bmp(kolvane::encode_bmp(mask(), kolvane::BmpFormat::indexed1));
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->pixels, mask().pixels);
    const auto file = read_all(assets + "/sprite.bmp");
    const auto from_memory = kolvane::decode_bmp(file);
    ASSERT_TRUE(from_memory.has_value());
    EXPECT_EQ(from_memory->pixels, s.pixels);
}
