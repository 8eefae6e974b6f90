// Playback on SDL2_mixer recorded by SDL's disk audio: a MIDI tune and a WAV effect together, files that
// cannot play, and files read on the loading thread while the caller goes on.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

#include "app/app.h"
#include "platform/sdl/mixer_channel.h"
#include "platform/sdl/sound_device.h"
#include "scene/audio.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

void put16(std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>((v >> 8) & 0xFF); }
void put32(std::string& s, unsigned v) { put16(s, v & 0xFFFF), put16(s, v >> 16); }

// A mono 16-bit WAV file of a sine tone.
std::string sine_wav(double hertz, double seconds, int rate = 22050) {
    const auto frames = static_cast<unsigned>(seconds * rate);
    std::string data;
    for (unsigned i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2 * std::numbers::pi * hertz * i / rate);
        put16(data, static_cast<unsigned>(static_cast<std::int16_t>(v * 32767)) & 0xFFFF);
    }
    std::string wav = "RIFF";
    put32(wav, 36 + static_cast<unsigned>(data.size()));
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1);
    put16(wav, 1);
    put32(wav, static_cast<unsigned>(rate));
    put32(wav, static_cast<unsigned>(rate) * 2);
    put16(wav, 2);
    put16(wav, 16);
    wav += "data";
    put32(wav, static_cast<unsigned>(data.size()));
    return wav + data;
}

// A MIDI file holding one organ note, A above middle C (440 Hz), for two seconds.
std::string organ_note_midi() {
    const std::string track{'\x00', '\xC0', '\x13',                // organ
                            '\x00', '\x90', '\x45', '\x64',        // note on, A4
                            '\x83', '\x00', '\x80', '\x45', '\x40',  // 384 ticks later (2 s) note off
                            '\x00', '\xFF', '\x2F', '\x00'};
    std::string smf = "MThd";
    smf += std::string{'\x00', '\x00', '\x00', '\x06', '\x00', '\x00', '\x00', '\x01', '\x00', '\x60'};
    smf += "MTrk";
    smf += std::string{'\x00', '\x00', '\x00', static_cast<char>(track.size())};
    return smf + track;
}

// The power of one frequency in a stretch of samples (Goertzel), per sample.
double tone_power(const std::vector<float>& samples, std::size_t from, std::size_t count, double hertz, int rate) {
    const double w = 2 * std::numbers::pi * hertz / rate, coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = from; i < from + count && i < samples.size(); ++i) {
        const double s0 = samples[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - coefficient * s1 * s2) / static_cast<double>(count * count);
}

struct Recording {
    std::vector<float> mono;
    int rate = 0;
};

class DiskAudio : public ::testing::Test {
protected:
    void SetUp() override {
        if (general_midi_font().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
        raw = dir.path() / "recorded.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
        testing::write_file(dir.path() / "tone.wav", sine_wav(3000, 1.0));
        testing::write_file(dir.path() / "organ.mid", organ_note_midi());
    }
    void TearDown() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
    // The recording as mono samples; the mixer's output format is read while the device is open.
    Recording read_recording(int rate, Uint16 format, int channels) const {
        Recording r;
        r.rate = rate;
        const std::string bytes = testing::read_file(raw);
        EXPECT_EQ(format, AUDIO_S16LSB);
        const std::size_t frames = bytes.size() / (2u * static_cast<unsigned>(channels));
        for (std::size_t f = 0; f < frames; ++f) {
            float sum = 0;
            for (int c = 0; c < channels; ++c) {
                std::int16_t v = 0;
                std::memcpy(&v, bytes.data() + (f * static_cast<unsigned>(channels) + static_cast<unsigned>(c)) * 2, 2);
                sum += v / 32768.0f;
            }
            r.mono.push_back(sum / static_cast<float>(channels));
        }
        return r;
    }
    testing::TempDir dir;
    std::filesystem::path raw;
};

void start(MixerChannel& channel, const char* type, const std::filesystem::path& file) {
    channel.command("Close");
    channel.set_device_type(type);
    channel.set_file_name(file.string());
    channel.command("Open");
    channel.command("Play");
}

TEST_F(DiskAudio, AMidiTuneAndAWavEffectSoundTogether) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    {
        MixerAudio audio;
        MixerChannel midi(audio, 0), wav(audio, 0);
        start(midi, "Sequencer", dir.path() / "organ.mid");
        start(wav, "WaveAudio", dir.path() / "tone.wav");
        audio.finish_loads();
        ASSERT_TRUE(audio.is_open());
        ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
        EXPECT_EQ(midi.mode(), MediaMode::playing);
        EXPECT_EQ(wav.mode(), MediaMode::playing);
        // The effect stops after its second; the tune goes on.
        const auto begun = std::chrono::steady_clock::now();
        while (wav.mode() == MediaMode::playing && std::chrono::steady_clock::now() - begun < std::chrono::seconds(5))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto effect_length = std::chrono::steady_clock::now() - begun;
        EXPECT_EQ(wav.mode(), MediaMode::stopped);
        EXPECT_GE(effect_length, std::chrono::milliseconds(800));
        EXPECT_EQ(midi.mode(), MediaMode::playing);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        midi.command("Close");
        wav.command("Close");
        EXPECT_EQ(midi.mode(), MediaMode::stopped);
    }
    const Recording r = read_recording(rate, format, channels);
    ASSERT_GT(r.mono.size(), static_cast<std::size_t>(rate));
    std::size_t first = 0;
    while (first < r.mono.size() && std::abs(r.mono[first]) < 0.01f) ++first;
    ASSERT_LT(first, r.mono.size()) << "the recording is silent";
    const auto window = static_cast<std::size_t>(rate / 2);
    const std::size_t both = first + static_cast<std::size_t>(rate / 5);
    const double effect = tone_power(r.mono, both, window, 3000, rate);
    const double tune = tone_power(r.mono, both, window, 440, rate);
    const double neither = tone_power(r.mono, both, window, 1700, rate) + tone_power(r.mono, both, window, 5300, rate);
    EXPECT_GT(effect, 100 * neither) << "the effect is not audible";
    EXPECT_GT(tune, 100 * neither) << "the tune is not audible";
    // Once the effect has ended the tune is heard alone.
    const std::size_t alone = first + static_cast<std::size_t>(rate) * 23 / 20;
    ASSERT_LT(alone + window / 2, r.mono.size());
    EXPECT_GT(tone_power(r.mono, alone, window / 2, 440, rate),
              10 * tone_power(r.mono, alone, window / 2, 3000, rate));
}

class ChannelsOverTheEngine : public DiskAudio {
protected:
    void SetUp() override {
        DiskAudio::SetUp();
        t.app.platform.midi = &midi;
        t.app.platform.wav = &wav;
    }
    testing::TestApp t;
    MixerAudio audio;
    MixerChannel midi{audio, 0};
    MixerChannel wav{audio, 0};
};

TEST_F(ChannelsOverTheEngine, AMissingOrUnplayableFileFreesItsChannelAtTheFirstStatusReportAfterItsRead) {
    launch_midi(t.app.scene, (dir.path() / "gone.mid").string());
    EXPECT_EQ(t.app.scene.audio.midi_busy, 1);
    audio.finish_loads();
    MMControl1_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 0);

    testing::write_file(dir.path() / "noise.wav", "this is not a sound file");
    launch_wav(t.app.scene, (dir.path() / "noise.wav").string());
    EXPECT_EQ(t.app.scene.audio.wav_busy, 1);
    audio.finish_loads();
    MMControl2_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.wav_busy, 0);

    // A real file after them plays, and the busy channel ignores a second request.
    launch_wav(t.app.scene, (dir.path() / "tone.wav").string());
    audio.finish_loads();
    MMControl2_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.wav_busy, 1);
    EXPECT_EQ(wav.mode(), MediaMode::playing);
    audio_off(t.app.scene);
    EXPECT_EQ(wav.mode(), MediaMode::stopped);
    audio.finish_loads();
    EXPECT_EQ(audio.files_held(), 0u);
}

// Holds each file the loading thread is about to read until the test lets it go, and notes the
// thread it ran on. A read on the test's own thread is noted and not held: holding it would hang.
class LoadGate {
public:
    explicit LoadGate(std::thread::id caller) : caller_(caller) {}
    void operator()(const std::string& path) {
        std::unique_lock lock(mutex_);
        paths_.push_back(path);
        on_caller_ = on_caller_ || std::this_thread::get_id() == caller_;
        changed_.notify_all();
        if (std::this_thread::get_id() == caller_) return;
        changed_.wait(lock, [this] { return open_; });
    }
    // Blocks until `count` reads have begun.
    void wait_for_reads(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return paths_.size() >= count; });
    }
    void open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool read_on_caller() {
        const std::lock_guard lock(mutex_);
        return on_caller_;
    }
    std::vector<std::string> paths() {
        const std::lock_guard lock(mutex_);
        return paths_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    const std::thread::id caller_;
    std::vector<std::string> paths_;
    bool on_caller_ = false;
    bool open_ = false;
};

// The dummy device mixes every stream as a sound card would, without one.
class LoadingThread : public ::testing::Test {
protected:
    void SetUp() override {
        if (general_midi_font().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        testing::write_file(dir.path() / "tone.wav", sine_wav(3000, 2.0));
        testing::write_file(dir.path() / "organ.mid", organ_note_midi());
        t.app.platform.midi = &midi;
        t.app.platform.wav = &wav;
        audio.set_load_hook([this](const std::string& path) { gate(path); });
    }
    // Runs even when an assertion failed, so the loading thread is never left held at close.
    void TearDown() override {
        gate.open();
        unsetenv("SDL_AUDIODRIVER");
    }
    std::string file(const char* name) const { return (dir.path() / name).string(); }

    testing::TempDir dir;
    testing::TestApp t;
    LoadGate gate{std::this_thread::get_id()};
    MixerAudio audio;
    MixerChannel midi{audio, 0};
    MixerChannel wav{audio, 1};
};

TEST_F(LoadingThread, OpenAndPlayOfAMidiPieceReturnBeforeTheSoundFontIsRead) {
    launch_midi(t.app.scene, file("organ.mid"));
    gate.wait_for_reads(1);
    ASSERT_FALSE(gate.read_on_caller()) << "the piece was read inside Open";
    ASSERT_TRUE(audio.is_open());
    // Held in its read: nothing plays yet, and the channel stays busy through the status reports.
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(midi.mode(), MediaMode::other);
    MMControl1_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 1);
    // Once read it starts by itself, since Play was asked for.
    gate.open();
    audio.finish_loads();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(midi.mode(), MediaMode::playing);
    MMControl1_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 1);
    audio_off(t.app.scene);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    MMControl1_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 0);
    audio.finish_loads();
    EXPECT_EQ(audio.files_held(), 0u);
    EXPECT_EQ(gate.paths(), std::vector<std::string>{file("organ.mid")});
}

TEST_F(LoadingThread, OpenAndPlayOfAWavEffectReturnBeforeItIsRead) {
    launch_wav(t.app.scene, file("tone.wav"));
    gate.wait_for_reads(1);
    ASSERT_FALSE(gate.read_on_caller()) << "the effect was read inside Open";
    EXPECT_EQ(Mix_Playing(1), 0);
    EXPECT_EQ(wav.mode(), MediaMode::other);
    MMControl2_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.wav_busy, 1);
    gate.open();
    audio.finish_loads();
    EXPECT_EQ(Mix_Playing(1), 1);
    EXPECT_EQ(wav.mode(), MediaMode::playing);
    audio_off(t.app.scene);
    EXPECT_EQ(wav.mode(), MediaMode::stopped);
}

TEST_F(LoadingThread, AFileClosedWhileItIsReadNeverPlaysAndIsFreed) {
    launch_midi(t.app.scene, file("organ.mid"));
    gate.wait_for_reads(1);
    midi.command("Close");
    EXPECT_EQ(midi.mode(), MediaMode::stopped);
    MMControl1_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 0);
    gate.open();
    audio.finish_loads();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(midi.mode(), MediaMode::stopped);
    EXPECT_EQ(audio.files_held(), 0u);
}

TEST_F(LoadingThread, ANewFileOpenedWhileTheLastIsReadReplacesIt) {
    launch_midi(t.app.scene, file("organ.mid"));
    gate.wait_for_reads(1);
    // Another piece on the channel before the first is read: the first is dropped once read.
    open_and_play(midi, "Sequencer", file("organ.mid"));
    open_and_play(wav, "WaveAudio", file("tone.wav"));
    gate.open();
    audio.finish_loads();
    EXPECT_EQ(gate.paths().size(), 3u);
    EXPECT_EQ(midi.mode(), MediaMode::playing);
    EXPECT_EQ(wav.mode(), MediaMode::playing);
    EXPECT_EQ(audio.files_held(), 2u);
    midi.command("Close");
    wav.command("Close");
    audio.finish_loads();
    EXPECT_EQ(audio.files_held(), 0u);
}

TEST_F(LoadingThread, TheDeviceClosesWhileAFileIsRead) {
    launch_midi(t.app.scene, file("organ.mid"));
    launch_wav(t.app.scene, file("tone.wav"));
    gate.wait_for_reads(1);
    // The device waits for the read under way; the queued effect is dropped unread.
    std::thread release([this] { gate.open(); });
    audio.close();
    release.join();
    EXPECT_FALSE(audio.is_open());
    EXPECT_EQ(gate.paths().size(), 1u);
    EXPECT_EQ(audio.files_held(), 0u);
    EXPECT_EQ(midi.mode(), MediaMode::stopped);
    EXPECT_EQ(wav.mode(), MediaMode::stopped);
}

TEST(NoSoundDevice, EveryFileIsSilenceAndEveryChannelFree) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::TestApp t;
    MixerAudio audio;
    MixerChannel midi(audio, 0), wav(audio, 0);
    t.app.platform.midi = &midi;
    t.app.platform.wav = &wav;
    testing::TempDir dir;
    testing::write_file(dir.path() / "tone.wav", sine_wav(1000, 0.5));
    launch_wav(t.app.scene, (dir.path() / "tone.wav").string());
    launch_midi(t.app.scene, (dir.path() / "tone.wav").string());
    EXPECT_FALSE(audio.is_open());
    MMControl1_StatusUpdate(t.app.scene);
    MMControl2_StatusUpdate(t.app.scene);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 0);
    EXPECT_EQ(t.app.scene.audio.wav_busy, 0);
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace kolvane::sdl

namespace kolvane::sdl {
namespace {

// A preview's mixer never opens the sound device: the disk driver would make its recording file.
TEST_F(DiskAudio, AMixerWithoutOutputNeverOpensTheDevice) {
    {
        MixerAudio audio(MixerAudio::Output::none);
        MixerChannel wav(audio, 0);
        start(wav, "WaveAudio", dir.path() / "tone.wav");
        audio.finish_loads();
        EXPECT_FALSE(audio.is_open());
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        EXPECT_EQ(wav.mode(), MediaMode::stopped);
    }
    EXPECT_FALSE(std::filesystem::exists(raw));
}

TEST(SoundCards, AreReadFromTheKernelsList) {
    testing::TempDir dir;
    const auto cards = dir.path() / "cards";
    EXPECT_FALSE(sound_card_listed(cards.string()));
    testing::write_file(cards, "--- no soundcards ---\n");
    EXPECT_FALSE(sound_card_listed(cards.string()));
    testing::write_file(cards, " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
                               "                      HDA Intel PCH at 0xf7f10000 irq 32\n");
    EXPECT_TRUE(sound_card_listed(cards.string()));
}

}  // namespace
}  // namespace kolvane::sdl
