// Folders, FIFOs and devices named as sounds or pictures: skipped at once, never a hang, crash or memory flood.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "app/app.h"
#include "platform/sdl/mixer_channel.h"
#include "platform/sdl/regular_file.h"
#include "scene/audio.h"
#include "scene/render/bmp.h"
#include "scene/scene_pictures.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void make_fifo(const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path; }

// Once `patience` has passed, opens each FIFO for writing and closes it again, which frees a reader
// stuck in open(); the test then fails on released() instead of hanging.
class FifoRelease {
public:
    FifoRelease(std::vector<fs::path> fifos, std::chrono::milliseconds patience)
        : fifos_(std::move(fifos)), thread_([this, patience] { run(patience); }) {}
    ~FifoRelease() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    bool released() const { return released_; }

private:
    void run(std::chrono::milliseconds patience) {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, patience, [this] { return stop_; })) return;
        while (!stop_) {
            for (const auto& fifo : fifos_) {
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    released_ = true;
                    ::close(fd);
                }
            }
            wake_.wait_for(lock, 20ms, [this] { return stop_; });
        }
    }
    std::vector<fs::path> fifos_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<bool> released_{false};
    std::thread thread_;
};

TEST(RegularFile, OnlyPlainFilesUpToTheLimitAreOpened) {
    testing::TempDir dir;
    testing::write_file(dir.path() / "ten.bin", "0123456789");
    fs::create_directory(dir.path() / "folder.wav");
    make_fifo(dir.path() / "pipe.mid");
    fs::create_symlink(dir.path() / "ten.bin", dir.path() / "link.bin");

    const int fd = open_regular_file((dir.path() / "ten.bin").string(), 10);
    ASSERT_GE(fd, 0);
    char bytes[16] = {};
    EXPECT_EQ(::read(fd, bytes, sizeof bytes), 10);  // a blocking descriptor again, at the file's start
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    ::close(fd);
    const int linked = open_regular_file((dir.path() / "link.bin").string(), 10);
    EXPECT_GE(linked, 0);
    if (linked >= 0) ::close(linked);

    EXPECT_EQ(open_regular_file((dir.path() / "ten.bin").string(), 9), -1);
    EXPECT_EQ(open_regular_file((dir.path() / "folder.wav").string(), 1 << 20), -1);
    EXPECT_EQ(open_regular_file((dir.path() / "missing.wav").string(), 1 << 20), -1);
    EXPECT_EQ(open_regular_file("", 1 << 20), -1);
    EXPECT_EQ(open_regular_file("/dev/zero", max_audio_file_bytes), -1);
    EXPECT_EQ(open_regular_file("/dev/urandom", max_audio_file_bytes), -1);
    FifoRelease guard({dir.path() / "pipe.mid"}, 3s);
    EXPECT_EQ(open_regular_file((dir.path() / "pipe.mid").string(), 1 << 20), -1);
    EXPECT_FALSE(guard.released()) << "opening the FIFO waited for a writer";
    EXPECT_EQ(open_regular_stream((dir.path() / "folder.wav").string(), 1 << 20), nullptr);
}

void put32(std::string& s, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) s += static_cast<char>((v >> shift) & 0xFFu);
}

// A valid WAV of silence (CD format, so nothing is converted) one byte over the sound file limit;
// sparse, so it takes no disk space.
void write_huge_wav(const fs::path& path) {
    const auto size = static_cast<std::uint32_t>(max_audio_file_bytes + 1);
    std::string header = "RIFF";
    put32(header, size - 8);
    header += "WAVEfmt ";
    for (std::uint32_t v : {16u, 0x00020001u, 44100u, 44100u * 4u, 0x00100004u}) put32(header, v);
    header += "data";
    put32(header, size - 44);
    testing::write_file(path, header);
    fs::resize_file(path, size);
}

class NonPlainAudioEntries : public ::testing::Test {
protected:
    void SetUp() override {
        if (general_midi_font().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        t.app.platform.midi = &midi;
        t.app.platform.wav = &wav;
        t.app.startup.windows_dir = dir.folder();
    }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }
    testing::TestApp t;
    testing::TempDir dir;
    MixerAudio audio;
    MixerChannel midi{audio, 0};
    MixerChannel wav{audio, 0};
};

TEST_F(NonPlainAudioEntries, FoldersFifosAndDevicesInTheListAreSkippedLikeMissingFiles) {
    // A folder named like a MIDI piece crashed the MIDI loader; a FIFO blocked the scene in open().
    fs::create_directory(dir.path() / "piece.mid");
    fs::create_directory(dir.path() / "folder");
    fs::create_directory(dir.path() / "effect.wav");
    make_fifo(dir.path() / "pipe.mid");
    make_fifo(dir.path() / "pipe.wav");
    fs::create_symlink("/dev/zero", dir.path() / "zero.wav");
    write_huge_wav(dir.path() / "huge.wav");
    const std::vector<std::string> entries = {
        (dir.path() / "piece.mid").string(), (dir.path() / "folder").string(), (dir.path() / "effect.wav").string(),
        (dir.path() / "pipe.mid").string(),  (dir.path() / "pipe.wav").string(), "/dev/zero",
        "/dev/urandom",                       (dir.path() / "zero.wav").string(),  (dir.path() / "huge.wav").string()};
    std::string list;
    for (const auto& entry : entries) list += entry + "\r\n";
    testing::write_file(dir.path() / "Kolvane Audio Files.dat", list);
    reload_audio_list(t.app.scene);
    ASSERT_EQ(t.app.scene.lists.audio_file_count, static_cast<std::int32_t>(entries.size()));

    FifoRelease guard({dir.path() / "pipe.mid", dir.path() / "pipe.wav"}, 3s);
    for (std::int32_t i = 1; i <= t.app.scene.lists.audio_file_count; ++i) {
        const std::string& file = t.app.scene.lists.audio_files[static_cast<std::size_t>(i)];
        const auto begun = std::chrono::steady_clock::now();
        // As the audio tick dispatches an entry.
        if (is_wav_file(file)) launch_wav(t.app.scene, file);
        else launch_midi(t.app.scene, file);
        EXPECT_LT(std::chrono::steady_clock::now() - begun, 2s) << file;
        audio.finish_loads();  // files are read on the loading thread
        MMControl1_StatusUpdate(t.app.scene);
        MMControl2_StatusUpdate(t.app.scene);
        EXPECT_EQ(t.app.scene.audio.midi_busy, 0) << file;
        EXPECT_EQ(t.app.scene.audio.wav_busy, 0) << file;
        EXPECT_EQ(midi.mode(), MediaMode::stopped) << file;
        EXPECT_EQ(wav.mode(), MediaMode::stopped) << file;
    }
    EXPECT_TRUE(audio.is_open());
    EXPECT_FALSE(guard.released()) << "a FIFO entry waited for a writer";
}

// A 24-bit picture of the given size as a BMP file.
void write_picture(const fs::path& path, int width, int height) {
    const auto bytes = encode_bmp(Image(width, height, 0x336699u));
    testing::write_file(path, std::string(bytes.begin(), bytes.end()));
}

TEST(NonPlainPictureFiles, FoldersFifosAndDevicesLeaveThePictureBlack) {
    testing::TempDir dir;
    fs::create_directory(dir.path() / "backgrounds");
    for (int i = 0; i < background_picture_count; ++i)
        write_picture(dir.path() / "backgrounds" / ("bg" + std::to_string(i) + ".bmp"), background_picture_width,
                      background_picture_height);
    // bg1 a folder (it aborted the scene with an uncaught exception), bg2 a FIFO (it hung start-up),
    // bg3 the endless zero device, the sheet endless random bytes; the mask is a real picture.
    fs::remove(dir.path() / "backgrounds" / "bg1.bmp");
    fs::create_directory(dir.path() / "backgrounds" / "bg1.bmp");
    fs::remove(dir.path() / "backgrounds" / "bg2.bmp");
    make_fifo(dir.path() / "backgrounds" / "bg2.bmp");
    fs::remove(dir.path() / "backgrounds" / "bg3.bmp");
    fs::create_symlink("/dev/zero", dir.path() / "backgrounds" / "bg3.bmp");
    fs::create_symlink("/dev/urandom", dir.path() / "sprite.bmp");
    write_picture(dir.path() / "mask.bmp", sheet_width, sheet_height);

    testing::TestApp t;
    FolderPictures pictures(dir.path().string());
    FifoRelease guard({dir.path() / "backgrounds" / "bg2.bmp"}, 3s);
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_FALSE(load_scene_pictures(t.app.scene, pictures));
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 2s);
    EXPECT_FALSE(guard.released()) << "the FIFO picture waited for a writer";

    const SceneSurfaces& s = t.app.scene.surfaces;
    for (int i : {1, 2, 3}) {
        const Surface& bg = s.pictures[static_cast<std::size_t>(i)];
        EXPECT_EQ(bg.width(), background_picture_width);
        EXPECT_EQ(bg.at(10, 10) & 0xFFFFFFu, 0x000000u) << "bg" << i;
    }
    EXPECT_EQ(s.pictures[0].at(10, 10) & 0xFFFFFFu, 0x336699u);
    EXPECT_EQ(s.sprite.at(10, 10) & 0xFFFFFFu, 0x000000u);
    EXPECT_EQ(s.sprite.width(), sheet_width);
    EXPECT_FALSE(pictures.picture("preview").has_value());
}

}  // namespace
}  // namespace kolvane::sdl
