// Two ambient General MIDI tunes (Standard MIDI File, format 1): slow pads, gentle arpeggios, a
// soft bass and a sparse melody, composed by rule from fixed seeds.
#include <algorithm>

#include "assets.h"

namespace assetgen {
namespace {

constexpr int ppq = 480;

struct Event {
    std::uint32_t tick;
    int order;  // note-offs before note-ons at the same tick
    std::vector<std::uint8_t> bytes;
};

struct Track {
    std::string name;
    int channel = 0;
    std::vector<Event> events;

    void meta(std::uint32_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data) {
        std::vector<std::uint8_t> b{0xFF, type};
        b.push_back(static_cast<std::uint8_t>(data.size()));
        b.insert(b.end(), data.begin(), data.end());
        events.push_back({tick, 0, b});
    }
    void program(std::uint32_t tick, int prog) { events.push_back({tick, 1, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(prog)}}); }
    void control(std::uint32_t tick, int cc, int value) {
        events.push_back({tick, 1, {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(cc), static_cast<std::uint8_t>(value)}});
    }
    void note(std::uint32_t tick, std::uint32_t length, int key, int velocity) {
        events.push_back({tick, 2, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(velocity)}});
        events.push_back({tick + length, 0, {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(key), 0}});
    }
};

void var_len(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = static_cast<std::uint8_t>(v & 0x7F);
    while ((v >>= 7) != 0) buf[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
    while (n > 0) out.push_back(buf[--n]);
}

void be32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

std::vector<std::uint8_t> write_smf(std::vector<Track>& tracks, std::uint32_t end_tick) {
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    be32(out, 6);
    out.insert(out.end(), {0, 1});
    out.push_back(static_cast<std::uint8_t>(tracks.size() >> 8));
    out.push_back(static_cast<std::uint8_t>(tracks.size() & 0xFF));
    out.push_back(static_cast<std::uint8_t>(ppq >> 8));
    out.push_back(static_cast<std::uint8_t>(ppq & 0xFF));
    for (Track& t : tracks) {
        std::stable_sort(t.events.begin(), t.events.end(), [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
        std::vector<std::uint8_t> data;
        std::uint32_t now = 0;
        for (const Event& e : t.events) {
            var_len(data, e.tick - now);
            now = e.tick;
            data.insert(data.end(), e.bytes.begin(), e.bytes.end());
        }
        var_len(data, end_tick > now ? end_tick - now : 0);
        data.insert(data.end(), {0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        be32(out, static_cast<std::uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

std::vector<std::uint8_t> text(const std::string& s) { return {s.begin(), s.end()}; }

struct Plan {
    std::string title;
    int bpm;
    int bars;
    std::vector<std::vector<int>> chords;  // root first, then colour tones (MIDI notes)
    int pad_program, arp_program, bass_program, lead_program;
    std::uint64_t seed;
    int arp_pattern;  // 0 up-down eighths, 1 wide broken chord in triplets
};

std::vector<std::uint8_t> compose(const Plan& p) {
    const std::uint32_t bar = 4 * ppq;
    const std::uint32_t end = static_cast<std::uint32_t>(p.bars) * bar + 2 * bar;
    Rng rng(p.seed);
    std::vector<Track> tracks(5);
    Track& conductor = tracks[0];
    conductor.name = p.title;
    conductor.meta(0, 0x03, text(p.title));
    conductor.meta(0, 0x02, text("Kolvane screen saver, generated"));
    const std::uint32_t us_per_beat = static_cast<std::uint32_t>(60000000 / p.bpm);
    conductor.meta(0, 0x51, {static_cast<std::uint8_t>(us_per_beat >> 16), static_cast<std::uint8_t>((us_per_beat >> 8) & 0xFF), static_cast<std::uint8_t>(us_per_beat & 0xFF)});
    conductor.meta(0, 0x58, {4, 2, 24, 8});

    Track& pad = tracks[1];
    Track& arp = tracks[2];
    Track& bass = tracks[3];
    Track& lead = tracks[4];
    pad.channel = 0;
    arp.channel = 1;
    bass.channel = 2;
    lead.channel = 3;
    const char* names[4] = {"Pad", "Arpeggio", "Bass", "Melody"};
    Track* parts[4] = {&pad, &arp, &bass, &lead};
    const int programs[4] = {p.pad_program, p.arp_program, p.bass_program, p.lead_program};
    const int volumes[4] = {92, 74, 84, 70};
    const int pans[4] = {64, 44, 64, 84};
    for (int i = 0; i < 4; ++i) {
        parts[i]->meta(0, 0x03, text(names[i]));
        parts[i]->program(0, programs[i]);
        parts[i]->control(0, 7, volumes[i]);
        parts[i]->control(0, 10, pans[i]);
        parts[i]->control(0, 91, 100);  // reverb
        parts[i]->control(0, 93, 40);   // chorus
    }
    const int n_chords = static_cast<int>(p.chords.size());
    for (int b = 0; b < p.bars; ++b) {
        // Two bars per chord.
        const std::vector<int>& ch = p.chords[static_cast<std::size_t>((b / 2) % n_chords)];
        const std::uint32_t t0 = static_cast<std::uint32_t>(b) * bar;
        const bool intro = b < 4, outro = b >= p.bars - 4;
        const double swell = outro ? (p.bars - b) / 5.0 : 1.0;
        // Pad: the chord held for two bars, voiced in the middle register.
        if (b % 2 == 0) {
            for (std::size_t k = 1; k < ch.size(); ++k) pad.note(t0, 2 * bar - 10, ch[k], static_cast<int>(58 * swell + 8));
            pad.note(t0, 2 * bar - 10, ch[0] + 12, static_cast<int>(50 * swell + 8));
        }
        // Bass: the root, long, sometimes a fifth on the third beat.
        if (!intro) {
            bass.note(t0, b % 2 == 0 ? 2 * ppq + ppq / 2 : 3 * ppq, ch[0] - 12, static_cast<int>(70 * swell + 6));
            if (b % 2 == 0 && rng.uniform() < 0.6) bass.note(t0 + 3 * ppq, ppq - 20, ch[0] - 5, static_cast<int>(56 * swell + 6));
        }
        // Arpeggio over the upper chord tones.
        if (b >= 2) {
            std::vector<int> tones;
            for (std::size_t k = 1; k < ch.size(); ++k) tones.push_back(ch[k] + 12);
            tones.push_back(ch[1] + 24);
            const int nt = static_cast<int>(tones.size());
            if (p.arp_pattern == 0) {
                for (int s = 0; s < 8; ++s) {
                    const int idx = s < nt ? s : 2 * nt - 2 - s;
                    const int key = tones[static_cast<std::size_t>(std::clamp(idx, 0, nt - 1))];
                    const int vel = static_cast<int>((s % 4 == 0 ? 62 : 46) * swell + rng.below(8));
                    arp.note(t0 + static_cast<std::uint32_t>(s) * ppq / 2, ppq / 2 + ppq / 4, key, vel);
                }
            } else {
                for (int s = 0; s < 12; ++s) {
                    const int key = tones[static_cast<std::size_t>((s * 2 + (s / 3)) % nt)] + ((s % 6 == 5) ? 12 : 0);
                    const int vel = static_cast<int>((s % 3 == 0 ? 60 : 42) * swell + rng.below(8));
                    arp.note(t0 + static_cast<std::uint32_t>(s) * ppq / 3, ppq / 2, key, vel);
                }
            }
        }
        // Melody: sparse long notes from the chord, in phrases of four bars with rests between.
        if (b >= 8 && !outro && (b / 4) % 2 == 0) {
            std::uint32_t t = t0;
            while (t < t0 + bar) {
                const int lenq = rng.uniform() < 0.5 ? 2 : (rng.uniform() < 0.5 ? 3 : 4);
                const std::uint32_t len = static_cast<std::uint32_t>(lenq) * ppq;
                if (rng.uniform() < 0.75) {
                    const int key = ch[static_cast<std::size_t>(1 + rng.below(static_cast<int>(ch.size()) - 1))] + 12;
                    lead.note(t, std::min(len, t0 + bar - t) - 20, key, 64 + rng.below(12));
                }
                t += len;
            }
        }
    }
    // Closing chord.
    const std::vector<int>& last = p.chords[0];
    const std::uint32_t tend = static_cast<std::uint32_t>(p.bars) * bar;
    for (std::size_t k = 0; k < last.size(); ++k) pad.note(tend, 2 * bar - 40, last[k] + (k == 0 ? 12 : 0), 40);
    bass.note(tend, 2 * bar - 40, last[0] - 12, 50);
    return write_smf(tracks, end);
}

}  // namespace

std::vector<Tune> make_tunes() {
    std::vector<Tune> tunes;
    // General MIDI programs, counted from 0: 88 new age pad, 89 warm pad, 94 halo pad, 46 harp,
    // 8 celesta, 11 vibraphone, 38 synth bass 1, 32 acoustic bass, 73 flute, 91 choir pad.
    Plan drift{"Nebula Drift", 66, 40,
               {{50, 57, 62, 64, 66}, {47, 54, 57, 62, 66}, {43, 50, 57, 59, 66}, {45, 52, 57, 61, 64},
                {50, 57, 62, 64, 69}, {42, 54, 57, 61, 64}, {43, 50, 55, 59, 62}, {45, 52, 55, 61, 64}},
               89, 46, 32, 73, 0xD81F7, 0};
    Plan lullaby{"Orbit Lullaby", 60, 38,
                 {{40, 47, 52, 55, 59}, {36, 43, 52, 55, 59}, {43, 50, 55, 59, 62}, {38, 45, 54, 57, 62},
                  {40, 47, 55, 59, 62}, {45, 52, 55, 60, 64}, {36, 43, 55, 59, 64}, {35, 47, 54, 57, 63}},
               94, 8, 38, 91, 0x10BB1, 1};
    tunes.push_back({"nebula-drift", compose(drift)});
    tunes.push_back({"orbit-lullaby", compose(lullaby)});
    return tunes;
}

}  // namespace assetgen
