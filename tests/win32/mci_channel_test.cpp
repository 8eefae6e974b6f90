// The MCI playback channels against the real multimedia devices (under Wine: no sound hardware).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/mci_channel.h"
#include "platform/win32/win32_platform.h"

namespace kolvane::win32 {
namespace {

void put16(std::vector<char>& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::vector<char>& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A quarter of a second of a quiet 8-bit mono tone.
std::string write_wav(const std::string& path) {
    const unsigned samples = 11025 / 4;
    std::vector<char> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + samples);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, 11025);
    put32(out, 11025);
    put16(out, 1);
    put16(out, 8);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, samples);
    for (unsigned i = 0; i < samples; ++i) out.push_back(static_cast<char>(128 + ((i / 20) % 2 ? 8 : -8)));
    std::ofstream(path, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
    return path;
}

// One note of one second.
std::string write_midi(const std::string& path) {
    const unsigned char data[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  //
                                  'M', 'T', 'r', 'k', 0, 0, 0, 13,                    //
                                  0x00, 0x90, 60, 64,                                 // note on
                                  0x81, 0x40, 0x80, 60, 0,                            // 192 ticks later: off
                                  0x00, 0xFF, 0x2F, 0x00};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), sizeof data);
    return path;
}

std::string temp_path(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// Status reports as the frame loop makes them, until the channel reports stopped or the limit passes.
bool stops_within(MciChannel& channel, DWORD limit_ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < limit_ms) {
        deliver_pending_messages();
        if (channel.mode() == MediaMode::stopped) return true;
        Sleep(20);
    }
    return false;
}

void start(MciChannel& channel, const char* type, const std::string& file) {
    channel.command("Close");
    channel.set_notify(true);
    channel.set_wait(false);
    channel.set_shareable(false);
    channel.set_device_type(type);
    channel.set_file_name(file);
    channel.command("Open");
    channel.command("Play");
}

TEST(MciModeNumber, NamesTheModesAsTheMediaControlDoes) {
    EXPECT_EQ(mci_mode_number("stopped"), 525);
    EXPECT_EQ(mci_mode_number("Playing"), 526);
    EXPECT_EQ(mci_mode_number("not ready"), 524);
    EXPECT_EQ(mci_mode_number("paused"), 529);
    EXPECT_EQ(mci_mode_number(""), 525);
    EXPECT_EQ(mci_mode_number("something else entirely"), 525);
}

TEST(MciModeNumber, OnlyStoppedAndPlayingReachTheEngineAsSuch) {
    EXPECT_EQ(media_mode(mci_mode_number("stopped")), MediaMode::stopped);
    EXPECT_EQ(media_mode(mci_mode_number("PLAYING")), MediaMode::playing);
    EXPECT_EQ(media_mode(mci_mode_number("paused")), MediaMode::other);
    EXPECT_EQ(media_mode(mci_mode_number("not ready")), MediaMode::other);
    EXPECT_EQ(media_mode(mci_mode_number("seeking")), MediaMode::other);
    // A text MCI does not name counts as stopped, so it never holds a channel.
    EXPECT_EQ(media_mode(mci_mode_number("unheard of")), MediaMode::stopped);
    EXPECT_EQ(media_mode(0), MediaMode::other);
}

TEST(MciChannel, AMissingFileFreesItsChannelAtTheFirstReport) {
    MciChannel channel("kolvane_test_missing");
    start(channel, "WaveAudio", temp_path("kolvane no such file.wav"));
    EXPECT_FALSE(channel.is_open());
    EXPECT_EQ(channel.mode(), MediaMode::stopped);
    channel.command("Close");
    EXPECT_EQ(channel.mode(), MediaMode::stopped);
}

TEST(MciChannel, AFileOfTheWrongKindFreesItsChannel) {
    MciChannel channel("kolvane_test_wrong");
    start(channel, "WaveAudio", write_midi(temp_path("kolvane wrong kind.mid")));
    EXPECT_TRUE(stops_within(channel, 1000));
}

TEST(MciChannel, MidiAndWaveOpenTogetherAndBothEndStopped) {
    MciChannel midi("kolvane_test_midi");
    MciChannel wav("kolvane_test_wav");
    start(midi, "Sequencer", write_midi(temp_path("kolvane test.mid")));
    start(wav, "WaveAudio", write_wav(temp_path("kolvane test.wav")));
    EXPECT_TRUE(midi.is_open());
    EXPECT_TRUE(wav.is_open());
    // Whether the devices play (a sound card) or only pretend to (none): each reports stopped in the end.
    EXPECT_TRUE(stops_within(wav, 5000));
    EXPECT_TRUE(stops_within(midi, MciChannel::stall_ms + 5000));
    midi.command("Close");
    wav.command("Close");
    EXPECT_FALSE(midi.is_open());
    EXPECT_EQ(wav.mode(), MediaMode::stopped);
    // A channel can be started again after it stopped.
    start(wav, "WaveAudio", temp_path("kolvane test.wav"));
    EXPECT_TRUE(wav.is_open());
    EXPECT_TRUE(stops_within(wav, 5000));
}

}  // namespace
}  // namespace kolvane::win32
