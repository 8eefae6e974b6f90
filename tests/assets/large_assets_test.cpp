// Contract tests of the large screens' assets: the sprite sheet and mask drawn at 2× and 3× against the
// scene's frame table and the 1× mask, and the ten 1920 × 1080 backgrounds with their subjects.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "scene/render/bmp.h"
#include "scene/render/scene_surfaces.h"
#include "scene/sprites/sprite_table.h"
#include "tests/assets/compressed_picture.h"

namespace kolvane::testing {
namespace {

const std::string assets = KOLVANE_ASSETS_DIR;

// The scene's own frame table, as it builds it for a 640 × 480 screen: the 1× rectangles.
const std::array<FrameRect, frame_count>& frames() {
    static const std::array<FrameRect, frame_count> table = [] {
        headless::FakeSystem fake;
        headless::MemoryStore store;
        headless::MemoryRegistry registry;
        App app{Platform{fake, store, registry}};
        app.scene.run.screen_width = 640;
        app.scene.run.screen_height = 480;
        init_sprites(app.scene);
        return app.scene.sprites.frame_table;
    }();
    return table;
}

FrameRect scaled(const FrameRect& r, int scale) { return {r.sheet_x * scale, r.sheet_y * scale, r.width * scale, r.height * scale, r.depth}; }

// The last frame that shows a figure (the star row ends with an empty frame, then unused ones).
int last_drawn_frame() {
    int last = 0;
    for (int f = 1; f < frame_count; ++f)
        if (frames()[static_cast<std::size_t>(f)].width > 0) last = f;
    return last;
}

const Image& one_x_mask() {
    static const Image img = read_bmp(assets + "/mask.bmp").value_or(Image{});
    return img;
}
const Image& one_x_sheet() {
    static const Image img = read_bmp(assets + "/sprite.bmp").value_or(Image{});
    return img;
}

struct Sheets {
    CompressedPicture sheet, mask;
};

const Sheets& sheets(int scale) {
    static std::map<int, Sheets> loaded;
    auto it = loaded.find(scale);
    if (it == loaded.end()) {
        const std::string s = std::to_string(scale);
        Sheets pair{read_compressed_picture(assets + "/sprite-" + s + "x.png").value_or(CompressedPicture{}),
                    read_compressed_picture(assets + "/mask-" + s + "x.png").value_or(CompressedPicture{})};
        it = loaded.emplace(scale, std::move(pair)).first;
    }
    return it->second;
}

double luminance(std::uint32_t p) { return 0.3 * ((p >> 16) & 0xFF) + 0.59 * ((p >> 8) & 0xFF) + 0.11 * (p & 0xFF); }

std::vector<std::uint8_t> read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- the sheets at 2× and 3× --------------------------------------------------------------------

class ScaledSheet : public ::testing::TestWithParam<int> {
protected:
    // Every test reads pixels by the frame table, so the pictures must have their sizes first.
    void SetUp() override {
        ASSERT_EQ(one_x_sheet().width, sheet_width);
        ASSERT_EQ(one_x_sheet().height, sheet_height);
        ASSERT_EQ(one_x_mask().width, sheet_width);
        ASSERT_EQ(one_x_mask().height, sheet_height);
        ASSERT_EQ(sheet().width, sheet_width * scale()) << "sprite-" << scale() << "x.png";
        ASSERT_EQ(sheet().height, sheet_height * scale()) << "sprite-" << scale() << "x.png";
        ASSERT_EQ(mask().width, sheet_width * scale()) << "mask-" << scale() << "x.png";
        ASSERT_EQ(mask().height, sheet_height * scale()) << "mask-" << scale() << "x.png";
    }
    int scale() const { return GetParam(); }
    const Image& sheet() const { return sheets(scale()).sheet.image; }
    const Image& mask() const { return sheets(scale()).mask.image; }
    bool opaque(int x, int y) const { return mask().at(x, y) == 0; }
};

TEST_P(ScaledSheet, HasTheScaledSizeAndThreeChannels) {
    const int s = scale();
    for (const CompressedPicture* p : {&sheets(s).sheet, &sheets(s).mask}) {
        ASSERT_EQ(p->image.width, sheet_width * s);
        ASSERT_EQ(p->image.height, sheet_height * s);
        EXPECT_EQ(p->channels, 3);
    }
    // PNG, so the mask's two values survive storing.
    for (const char* name : {"sprite", "mask"}) {
        const std::vector<std::uint8_t> head = read_all(assets + "/" + name + "-" + std::to_string(s) + "x.png");
        ASSERT_GE(head.size(), 8u);
        EXPECT_EQ(std::string(head.begin() + 1, head.begin() + 4), "PNG") << name;
    }
}

TEST_P(ScaledSheet, MaskIsPureBlackAndWhite) {
    ASSERT_FALSE(mask().empty());
    for (std::uint32_t p : mask().pixels) ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << std::hex << p;
}

TEST_P(ScaledSheet, MaskIsBlackExactlyWhereTheSheetShowsAFigure) {
    ASSERT_EQ(sheet().pixels.size(), mask().pixels.size());
    std::size_t figure = 0, wrong = 0, first_wrong = 0;
    for (std::size_t i = 0; i < sheet().pixels.size(); ++i) {
        const bool in_figure = sheet().pixels[i] != 0;
        if ((mask().pixels[i] == 0) != in_figure && wrong++ == 0) first_wrong = i;
        figure += in_figure ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0u) << "the first at " << first_wrong % static_cast<std::size_t>(sheet().width) << ", " << first_wrong / static_cast<std::size_t>(sheet().width);
    std::size_t figure_1x = 0;
    for (std::uint32_t p : one_x_mask().pixels) figure_1x += p == 0 ? 1 : 0;
    // The same figures cover about scale² as many pixels.
    const double ratio = static_cast<double>(figure) / static_cast<double>(figure_1x * static_cast<std::size_t>(scale() * scale()));
    EXPECT_NEAR(ratio, 1.0, 0.1);
}

TEST_P(ScaledSheet, EveryFigureLiesInsideItsScaledRectangle) {
    std::vector<int> owner(mask().pixels.size(), 0);
    for (int f = 1; f <= last_drawn_frame(); ++f) {
        const FrameRect r = scaled(frames()[static_cast<std::size_t>(f)], scale());
        for (int y = r.sheet_y; y < r.sheet_y + r.height; ++y)
            for (int x = r.sheet_x; x < r.sheet_x + r.width; ++x) owner[static_cast<std::size_t>(y * mask().width + x)] = f;
    }
    std::size_t outside = 0, first_outside = 0;
    for (std::size_t i = 0; i < owner.size(); ++i)
        if (mask().pixels[i] == 0 && owner[i] == 0 && outside++ == 0) first_outside = i;
    EXPECT_EQ(outside, 0u) << "figure pixels outside every frame, the first at " << first_outside % static_cast<std::size_t>(mask().width) << ", "
                           << first_outside / static_cast<std::size_t>(mask().width);
}

TEST_P(ScaledSheet, EveryFrameShowsTheOneTimesFigure) {
    // The figure in each scaled rectangle covers about the 1× mask enlarged: the same figure, at the
    // same place in its frame, not another frame's nor a shifted one.
    const int s = scale();
    double worst = 1;
    int worst_frame = 0;
    for (int f = 1; f <= last_drawn_frame(); ++f) {
        const FrameRect r = frames()[static_cast<std::size_t>(f)], rs = scaled(r, s);
        int both = 0, either = 0;
        for (int y = 0; y < rs.height; ++y)
            for (int x = 0; x < rs.width; ++x) {
                const bool big = opaque(rs.sheet_x + x, rs.sheet_y + y);
                const bool small = one_x_mask().at(r.sheet_x + x / s, r.sheet_y + y / s) == 0;
                both += big && small ? 1 : 0;
                either += big || small ? 1 : 0;
            }
        if (either == 0) continue;  // a frame left empty at every scale
        const double iou = static_cast<double>(both) / either;
        EXPECT_GT(iou, 0.85) << "frame " << f;
        if (iou < worst) {
            worst = iou;
            worst_frame = f;
        }
    }
    std::printf("%dx: lowest overlap with the 1x mask %.3f (frame %d)\n", s, worst, worst_frame);
}

TEST_P(ScaledSheet, FiguresKeepTheirColours) {
    // Each figure's mean brightness and colour stay near the 1× figure's: the same materials and light.
    const int s = scale();
    for (int f = 1; f <= last_drawn_frame(); ++f) {
        const FrameRect r = frames()[static_cast<std::size_t>(f)], rs = scaled(r, s);
        auto mean = [](const Image& img, const Image& m, const FrameRect& q) {
            std::array<double, 3> sum{};
            int n = 0;
            for (int y = q.sheet_y; y < q.sheet_y + q.height; ++y)
                for (int x = q.sheet_x; x < q.sheet_x + q.width; ++x) {
                    if (m.at(x, y) != 0) continue;
                    const std::uint32_t p = img.at(x, y);
                    sum[0] += (p >> 16) & 0xFF;
                    sum[1] += (p >> 8) & 0xFF;
                    sum[2] += p & 0xFF;
                    ++n;
                }
            for (double& v : sum) v /= std::max(n, 1);
            return sum;
        };
        const auto a = mean(one_x_sheet(), one_x_mask(), r), b = mean(sheet(), mask(), rs);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(b[static_cast<std::size_t>(c)], a[static_cast<std::size_t>(c)], 16.0) << "frame " << f << " channel " << c;
    }
}

TEST_P(ScaledSheet, Frame19IsFrame18Mirrored) {
    const FrameRect a = scaled(frames()[18], scale()), b = scaled(frames()[19], scale());
    ASSERT_EQ(a.width, b.width);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            ASSERT_EQ(sheet().at(b.sheet_x + a.width - 1 - x, b.sheet_y + y), sheet().at(a.sheet_x + x, a.sheet_y + y)) << x << ", " << y;
            ASSERT_EQ(mask().at(b.sheet_x + a.width - 1 - x, b.sheet_y + y), mask().at(a.sheet_x + x, a.sheet_y + y)) << x << ", " << y;
        }
}

TEST_P(ScaledSheet, StarsAreTheOneTimesPlusesEnlarged) {
    // The 1× stars' lit pixels, each now scale × scale pixels, and nothing else.
    const int s = scale();
    for (int f = 68; f <= last_drawn_frame(); ++f) {
        const FrameRect r = frames()[static_cast<std::size_t>(f)], rs = scaled(r, s);
        for (int y = 0; y < rs.height; ++y)
            for (int x = 0; x < rs.width; ++x) {
                const bool big = sheet().at(rs.sheet_x + x, rs.sheet_y + y) != 0;
                const bool small = one_x_sheet().at(r.sheet_x + x / s, r.sheet_y + y / s) != 0;
                ASSERT_EQ(big, small) << "frame " << f << " at " << x << ", " << y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledSheet, ::testing::Values(2, 3), [](const ::testing::TestParamInfo<int>& scale) {
    return std::to_string(scale.param) + "x";
});

// ---- the large backgrounds ------------------------------------------------------------------------

constexpr int large_w = 1920, large_h = 1080;

std::string large_background_path(int i) { return assets + "/backgrounds/large/bg" + std::to_string(i) + ".jpg"; }

// Decoded once: an empty picture for a file that is missing or does not decode.
const std::vector<CompressedPicture>& large_background_files() {
    static const std::vector<CompressedPicture> files = [] {
        std::vector<CompressedPicture> v;
        for (int i = 0; i < 10; ++i) v.push_back(read_compressed_picture(large_background_path(i)).value_or(CompressedPicture{}));
        return v;
    }();
    return files;
}

const std::vector<Image>& large_backgrounds() {
    static const std::vector<Image> pictures = [] {
        std::vector<Image> v;
        for (const CompressedPicture& p : large_background_files()) v.push_back(p.image);
        return v;
    }();
    return pictures;
}

// A box in pixels: x in [x0, x1), y in [y0, y1).
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The part of the 16:9 picture that a screen of the given shape shows when the picture covers it
// at its own shape, cropped evenly (whole pixels).
Box kept_on_screen(double screen_aspect) {
    const double keep_w = std::min<double>(large_w, large_h * screen_aspect), keep_h = std::min<double>(large_h, large_w / screen_aspect);
    return {static_cast<int>(std::ceil((large_w - keep_w) / 2)), static_cast<int>(std::ceil((large_h - keep_h) / 2)),
            static_cast<int>(std::floor((large_w + keep_w) / 2)), static_cast<int>(std::floor((large_h + keep_h) / 2))};
}

struct Subject {
    int picture = -1;
    Box box;
    std::string what;
};

std::vector<Subject> subjects() {
    std::ifstream in(assets + "/backgrounds/large/subjects.txt");
    std::vector<Subject> list;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        Subject s;
        fields >> name >> s.box.x0 >> s.box.y0 >> s.box.x1 >> s.box.y1;
        std::getline(fields >> std::ws, s.what);
        if (!fields.fail() && name.size() == 7 && name.rfind("bg", 0) == 0 && name.substr(3) == ".jpg") s.picture = name[2] - '0';
        list.push_back(s);
    }
    return list;
}

// Mean luminance of each block × block square, row by row.
std::vector<double> block_means(const Image& img, int block, int& columns) {
    columns = img.width / block;
    const int rows = img.height / block;
    std::vector<double> means(static_cast<std::size_t>(columns * rows), 0.0);
    for (int y = 0; y < rows * block; ++y)
        for (int x = 0; x < columns * block; ++x) means[static_cast<std::size_t>((y / block) * columns + x / block)] += luminance(img.at(x, y));
    for (double& m : means) m /= block * block;
    return means;
}

// The luminance of the picture's typical pixel: in these pictures, the dark sky between the stars.
double median_luminance(const Image& img) {
    std::array<std::size_t, 256> count{};
    for (std::uint32_t p : img.pixels) ++count[static_cast<std::size_t>(std::lround(luminance(p)))];
    std::size_t seen = 0;
    for (std::size_t level = 0; level < count.size(); ++level)
        if ((seen += count[level]) * 2 >= img.pixels.size()) return static_cast<double>(level);
    return 0;
}

TEST(LargeBackgrounds, TenJpegPicturesOf1920By1080InColour) {
    for (int i = 0; i < 10; ++i) {
        const std::string path = large_background_path(i);
        const std::vector<std::uint8_t> head = read_all(path);
        ASSERT_GE(head.size(), 3u) << path;
        EXPECT_TRUE(head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) << path << " is not a JPEG file";
        const CompressedPicture& picture = large_background_files()[static_cast<std::size_t>(i)];
        ASSERT_FALSE(picture.image.empty()) << path << " does not decode";
        EXPECT_EQ(picture.image.width, large_w) << path;
        EXPECT_EQ(picture.image.height, large_h) << path;
        EXPECT_EQ(picture.channels, 3) << path;
    }
}

TEST(LargeBackgrounds, DarkWithStructure) {
    const auto& bgs = large_backgrounds();
    for (int i = 0; i < 10; ++i) {
        const Image& img = bgs[static_cast<std::size_t>(i)];
        ASSERT_FALSE(img.empty()) << "bg" << i;
        double sum = 0, sum2 = 0;
        for (std::uint32_t p : img.pixels) {
            const double l = luminance(p);
            sum += l;
            sum2 += l * l;
        }
        const double n = static_cast<double>(img.pixels.size());
        const double mean = sum / n, sd = std::sqrt(std::max(0.0, sum2 / n - mean * mean));
        EXPECT_LT(mean, 75.0) << "bg" << i << " is too bright for the sprites to read on it";
        EXPECT_GT(mean, 3.0) << "bg" << i << " is nearly empty";
        EXPECT_GT(sd, 6.0) << "bg" << i << " has no structure";
    }
}

TEST(LargeBackgrounds, ShowTheScenesOfTheSmallSet) {
    // Both sets spread the same scene over the whole picture, so the coarse brightness pattern of each
    // large picture matches its own small picture's better than any other's.
    auto pattern = [](const Image& img) {
        std::vector<double> cells(16 * 12, 0.0);
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) cells[static_cast<std::size_t>((y * 12 / img.height) * 16 + x * 16 / img.width)] += luminance(img.at(x, y));
        double mean = 0;
        for (double c : cells) mean += c / static_cast<double>(cells.size());
        double norm = 0;
        for (double& c : cells) {
            c -= mean;
            norm += c * c;
        }
        for (double& c : cells) c /= std::sqrt(std::max(norm, 1e-9));
        return cells;
    };
    std::vector<std::vector<double>> small, large;
    for (int i = 0; i < 10; ++i) {
        const auto img = read_bmp(assets + "/backgrounds/bg" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(img.has_value());
        ASSERT_FALSE(large_backgrounds()[static_cast<std::size_t>(i)].empty());
        small.push_back(pattern(*img));
        large.push_back(pattern(large_backgrounds()[static_cast<std::size_t>(i)]));
    }
    double lowest_own = 1, least_lead = 2;
    for (std::size_t i = 0; i < 10; ++i) {
        std::vector<double> corr;
        for (std::size_t j = 0; j < 10; ++j) {
            double c = 0;
            for (std::size_t k = 0; k < small[j].size(); ++k) c += large[i][k] * small[j][k];
            corr.push_back(c);
        }
        EXPECT_GT(corr[i], 0.8) << "bg" << i;
        lowest_own = std::min(lowest_own, corr[i]);
        for (std::size_t j = 0; j < 10; ++j) {
            if (j != i) {
                EXPECT_GT(corr[i], corr[j]) << "large bg" << i << " looks more like small bg" << j;
                least_lead = std::min(least_lead, corr[i] - corr[j]);
            }
        }
    }
    std::printf("pattern correlation: lowest with its own scene %.3f, least lead over another scene %.3f\n", lowest_own, least_lead);
}

TEST(LargeBackgrounds, SubjectsLieWhereEveryCropKeepsThem) {
    // 4:3 and 21:9, and the common screens a little beyond them: 1280 × 1024 and 2560 × 1080.
    const Box four_three = kept_on_screen(4.0 / 3.0), twenty_one_nine = kept_on_screen(21.0 / 9.0);
    EXPECT_EQ(four_three.x0, 240);
    EXPECT_EQ(four_three.x1, 1680);
    EXPECT_EQ(twenty_one_nine.y0, 129);
    EXPECT_EQ(twenty_one_nine.y1, 951);
    const double screens[] = {5.0 / 4.0, 4.0 / 3.0, 16.0 / 10.0, 21.0 / 9.0, 2560.0 / 1080.0};
    std::array<int, 10> per_picture{};
    for (const Subject& s : subjects()) {
        ASSERT_GE(s.picture, 0) << "a line of subjects.txt does not read as picture, box and name";
        ++per_picture[static_cast<std::size_t>(s.picture)];
        EXPECT_LT(s.box.x0, s.box.x1) << s.what;
        EXPECT_LT(s.box.y0, s.box.y1) << s.what;
        for (double aspect : screens) {
            const Box keep = kept_on_screen(aspect);
            EXPECT_TRUE(s.box.x0 >= keep.x0 && s.box.y0 >= keep.y0 && s.box.x1 <= keep.x1 && s.box.y1 <= keep.y1)
                << "bg" << s.picture << ": " << s.what << " is cut on a screen of shape " << aspect;
        }
    }
    for (int i = 0; i < 10; ++i) EXPECT_GE(per_picture[static_cast<std::size_t>(i)], 1) << "bg" << i << " names no subject";
}

TEST(LargeBackgrounds, SubjectsStandOutFromTheStarfield) {
    // A recorded subject is where the picture shows something: its box is brighter than the
    // picture's typical pixel (the dark sky between the stars).
    double least = 1e9;
    std::string least_what;
    std::array<double, 10> sky{};
    for (int i = 0; i < 10; ++i) sky[static_cast<std::size_t>(i)] = median_luminance(large_backgrounds()[static_cast<std::size_t>(i)]);
    for (const Subject& s : subjects()) {
        ASSERT_GE(s.picture, 0);
        const Image& img = large_backgrounds()[static_cast<std::size_t>(s.picture)];
        ASSERT_TRUE(s.box.x0 >= 0 && s.box.y0 >= 0 && s.box.x1 <= img.width && s.box.y1 <= img.height && s.box.x0 < s.box.x1 && s.box.y0 < s.box.y1)
            << "bg" << s.picture << ": " << s.what << " is not a box inside the picture";
        double sum = 0;
        for (int y = s.box.y0; y < s.box.y1; ++y)
            for (int x = s.box.x0; x < s.box.x1; ++x) sum += luminance(img.at(x, y));
        const double mean = sum / ((s.box.x1 - s.box.x0) * (s.box.y1 - s.box.y0));
        const double typical = sky[static_cast<std::size_t>(s.picture)];
        EXPECT_GT(mean, typical * 2 + 8) << "bg" << s.picture << ": " << s.what << " (mean " << mean << ", sky " << typical << ")";
        if (mean - typical < least) {
            least = mean - typical;
            least_what = "bg" + std::to_string(s.picture) + ": " + s.what;
        }
    }
    std::printf("least standing out: %s, %.1f above the sky\n", least_what.c_str(), least);
}

TEST(LargeBackgrounds, TheBrightestPartIsASubject) {
    // Measured in the pictures themselves: the brightest 32 × 32 square of each lies in one of its
    // recorded subjects, so no bright body was left out of them near an edge.
    const std::vector<Subject> all = subjects();
    for (int i = 0; i < 10; ++i) {
        const Image& img = large_backgrounds()[static_cast<std::size_t>(i)];
        ASSERT_FALSE(img.empty());
        int columns = 0;
        const std::vector<double> means = block_means(img, 32, columns);
        const auto best = static_cast<int>(std::max_element(means.begin(), means.end()) - means.begin());
        const int cx = (best % columns) * 32 + 16, cy = (best / columns) * 32 + 16;
        bool in_subject = false;
        for (const Subject& s : all)
            in_subject = in_subject || (s.picture == i && cx >= s.box.x0 && cx < s.box.x1 && cy >= s.box.y0 && cy < s.box.y1);
        EXPECT_TRUE(in_subject) << "bg" << i << ": the brightest square, centred at " << cx << ", " << cy << ", is in no subject";
    }
}

}  // namespace
}  // namespace kolvane::testing
