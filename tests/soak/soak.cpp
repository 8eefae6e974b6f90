// kolvane-soak: the whole scene for many frames on the headless backend, its invariants checked every frame and its memory sampled.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene/scene_pictures.h"
#include "scene/scene_window.h"
#include "tests/scene/scene_fixture.h"
#include "tests/scene/scene_invariants.h"

namespace {

struct Options {
    long frames = 1000000;
    int width = 1920;
    int height = 1080;
    long sample_every = 0;   // 0: a twentieth of the run
    long pixels_every = 1;   // the screen comparison; the table is checked in every frame regardless
    long baseline_frame = 1000;
    long growth_limit_kb = 1024;
    std::string assets = KOLVANE_ASSETS_DIR;
};

int usage() {
    std::fprintf(stderr,
                 "usage: kolvane-soak [--frames N] [--size WxH] [--sample-every N] [--pixels-every K]\n"
                 "                    [--baseline-frame N] [--growth-limit-kb N] [--assets DIR]\n");
    return 3;
}

bool whole(const char* text, long low, long& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low) return false;
    out = value;
    return true;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (arg == "--frames") {
            if (!whole(value, 1, o.frames)) return false;
        } else if (arg == "--size") {
            char tail = 0;
            if (std::sscanf(value, "%dx%d%c", &o.width, &o.height, &tail) != 2 || o.width < 64 || o.height < 64 ||
                o.width > 8192 || o.height > 8192)
                return false;
        } else if (arg == "--sample-every") {
            if (!whole(value, 1, o.sample_every)) return false;
        } else if (arg == "--pixels-every") {
            if (!whole(value, 1, o.pixels_every)) return false;
        } else if (arg == "--baseline-frame") {
            if (!whole(value, 1, o.baseline_frame)) return false;
        } else if (arg == "--growth-limit-kb") {
            if (!whole(value, 0, o.growth_limit_kb)) return false;
        } else if (arg == "--assets") {
            o.assets = value;
        } else {
            return false;
        }
    }
    return true;
}

// The process's peak and current resident memory in kB, read without allocating.
struct Memory {
    long peak_kb = 0;
    long resident_kb = 0;
};

long status_field(const char* text, const char* name) {
    const char* at = std::strstr(text, name);
    return at ? std::strtol(at + std::strlen(name), nullptr, 10) : -1;
}

Memory memory_now() {
    std::array<char, 4096> text{};
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {-1, -1};
    const ssize_t n = ::read(fd, text.data(), text.size() - 1);
    ::close(fd);
    if (n <= 0) return {-1, -1};
    return {status_field(text.data(), "VmHWM:"), status_field(text.data(), "VmRSS:")};
}

double mb(long kb) { return static_cast<double>(kb) / 1024.0; }

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) return usage();
    if (o.sample_every == 0) o.sample_every = std::max(1000L, o.frames / 20);
    using namespace kolvane;

    testing::SceneRig rig(o.width, o.height);
    // The program's own pictures and sounds; captions and background changes come as often as the
    // settings allow, so that every path of the frame runs many times.
    FolderPictures pictures(o.assets);
    if (!load_scene_pictures(rig.app->scene, pictures)) {
        std::fprintf(stderr, "kolvane-soak: the pictures under %s are missing\n", o.assets.c_str());
        return 3;
    }
    rig.store.set("install_path", o.assets + "/sounds/");
    rig.store.set("scroller_delay", "2");
    rig.store.set("cycle_speed_value", "1");
    rig.store.set("object_frequency", "1");
    rig.store.set("audio_seconds", "1");
    rig.start();
    Scene& scene = rig.app->scene;

    std::printf("kolvane-soak: %ld frames at %dx%d, invariants every frame, screen compared every %ld\n", o.frames,
                o.width, o.height, o.pixels_every);
    std::printf("%10s %10s %10s %10s\n", "frame", "peak MB", "resident", "frames/s");
    Surface expected;
    testing::DrawOrder drawn_order{};
    Memory baseline{-1, -1};
    long launched = 0;
    std::size_t plays = 0;
    std::array<int, 13> previous{};
    const auto start = std::chrono::steady_clock::now();
    auto last_sample = start;
    long last_sample_frame = 0;
    for (long frame = 1; frame <= o.frames; ++frame) {
        scene.run.frame_start = static_cast<std::int32_t>(rig.system.clock_ms);
        drawn_order = scene.sprites.draw_order;
        frame_work(scene);
        // The headless wait moves the simulated clock to the frame's deadline, running the audio timer on the way.
        frame_wait(scene);
        if (end_of_frame(scene)) {
            std::printf("FAILED at frame %ld: the scene stopped without input\n", frame);
            return 1;
        }
        std::string fault = testing::sprite_table_fault(*rig.app);
        if (fault.empty() && frame % o.pixels_every == 0)
            fault = testing::stale_pixels_fault(*rig.app, drawn_order, rig.display.screen, expected);
        if (!fault.empty()) {
            std::printf("FAILED at frame %ld: %s\n", frame, fault.c_str());
            return 1;
        }
        for (int k = 1; k <= 11; ++k) {
            const int now = scene.sprites.kind_count[static_cast<std::size_t>(k)];
            launched += now > previous[static_cast<std::size_t>(k)] ? now - previous[static_cast<std::size_t>(k)] : 0;
            previous[static_cast<std::size_t>(k)] = now;
        }
        // The test doubles keep a record of every command; it is cleared so that only the scene's memory counts.
        plays += rig.midi.played.size() + rig.wav.played.size();
        rig.midi.commands.clear();
        rig.midi.played.clear();
        rig.wav.commands.clear();
        rig.wav.played.clear();
        if (frame == o.baseline_frame) baseline = memory_now();
        if (frame % o.sample_every == 0 || frame == o.baseline_frame || frame == o.frames) {
            const Memory m = memory_now();
            const auto now = std::chrono::steady_clock::now();
            const double seconds = std::chrono::duration<double>(now - last_sample).count();
            std::printf("%10ld %10.1f %10.1f %10.0f\n", frame, mb(m.peak_kb), mb(m.resident_kb),
                        seconds > 0 ? static_cast<double>(frame - last_sample_frame) / seconds : 0.0);
            std::fflush(stdout);
            last_sample = now;
            last_sample_frame = frame;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Memory end = memory_now();

    std::printf("frames: %ld in %.1f s, %.0f frames/s; objects launched: %ld; sounds played: %zu\n", o.frames,
                seconds, static_cast<double>(o.frames) / seconds, launched, plays);
    if (launched <= o.frames / 100) {
        std::printf("FAILED: only %ld objects launched in %ld frames\n", launched, o.frames);
        return 1;
    }
    if (baseline.peak_kb < 0) {
        std::printf("memory: not compared (the run is shorter than %ld frames)\n", o.baseline_frame);
        return 0;
    }
    const long peak_growth = end.peak_kb - baseline.peak_kb;
    const long resident_growth = end.resident_kb - baseline.resident_kb;
    std::printf("memory at frame %ld: peak %.1f MB, resident %.1f MB\n", o.baseline_frame, mb(baseline.peak_kb),
                mb(baseline.resident_kb));
    std::printf("memory at the end:   peak %.1f MB, resident %.1f MB\n", mb(end.peak_kb), mb(end.resident_kb));
    std::printf("growth after frame %ld: peak %+ld kB, resident %+ld kB (limit %ld kB)\n", o.baseline_frame, peak_growth,
                resident_growth, o.growth_limit_kb);
    if (peak_growth > o.growth_limit_kb || resident_growth > o.growth_limit_kb) {
        std::printf("FAILED: memory grew by more than %ld kB\n", o.growth_limit_kb);
        return 2;
    }
    return 0;
}
