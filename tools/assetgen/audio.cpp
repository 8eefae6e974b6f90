// Sound synthesis: the looping title theme and nine space sound effects, 22,050 Hz mono 16-bit.
// Everything is made from sines, noise and simple filters; the theme is rendered on a circular
// buffer so that the tails of its last notes sound at its start and the loop has no seam.
#include <algorithm>
#include <functional>

#include "assets.h"

namespace assetgen {
namespace {

constexpr int rate = 22050;
constexpr double tau = 2 * pi;

double mtof(double m) { return 440.0 * std::pow(2.0, (m - 69) / 12.0); }

struct OnePole {
    double a = 0, y = 0;
    void set(double cutoff) { a = 1 - std::exp(-tau * cutoff / rate); }
    double operator()(double x) { return y += a * (x - y); }
};

// Band-pass biquad (constant peak gain).
struct BandPass {
    double b0 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    void set(double f, double q) {
        const double w = tau * f / rate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2 * std::cos(w) / a0;
        a2 = (1 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// A feedback delay line for echoes.
struct Echo {
    std::vector<double> buf;
    std::size_t pos = 0;
    double feedback, damp_state = 0, damp;
    Echo(double seconds, double fb, double damping) : buf(static_cast<std::size_t>(seconds * rate), 0.0), feedback(fb), damp(damping) {}
    double operator()(double x) {
        const double out = buf[pos];
        damp_state += damp * (out - damp_state);
        buf[pos] = x + damp_state * feedback;
        pos = (pos + 1) % buf.size();
        return out;
    }
};

// A small diffuse reverb: four parallel echoes of different lengths.
struct Reverb {
    Echo e1{0.0297, 0.78, 0.4}, e2{0.0371, 0.76, 0.4}, e3{0.0411, 0.74, 0.4}, e4{0.0437, 0.72, 0.4};
    double operator()(double x) { return (e1(x) + e2(x) + e3(x) + e4(x)) * 0.25; }
};

void normalise(Wave& w, double peak = 0.89) {
    double m = 0;
    for (double s : w.samples) m = std::max(m, std::fabs(s));
    if (m > 0)
        for (double& s : w.samples) s *= peak / m;
}

// Short fades so the first and last samples are silent and no click is heard.
void fade_ends(Wave& w, double in_s = 0.005, double out_s = 0.02) {
    const std::size_t n = w.samples.size();
    const std::size_t fi = std::min(n, static_cast<std::size_t>(in_s * rate)), fo = std::min(n, static_cast<std::size_t>(out_s * rate));
    for (std::size_t i = 0; i < fi; ++i) w.samples[i] *= static_cast<double>(i) / static_cast<double>(fi);
    for (std::size_t i = 0; i < fo; ++i) w.samples[n - 1 - i] *= static_cast<double>(i) / static_cast<double>(fo);
}

Wave blank(double seconds) {
    Wave w;
    w.rate = rate;
    w.samples.assign(static_cast<std::size_t>(seconds * rate), 0.0);
    return w;
}

double env_adsr(double t, double a, double d, double s, double len, double r) {
    if (t < 0) return 0;
    if (t < a) return t / a;
    if (t < a + d) return 1 - (1 - s) * (t - a) / d;
    if (t < len) return s;
    return s * std::exp(-(t - len) / r);
}

// ---- effects -------------------------------------------------------------------------------

Wave telemetry() {
    Wave w = blank(2.6);
    Rng rng(11);
    double t0 = 0.05;
    while (t0 < 2.35) {
        const double f = 900 + 160 * rng.below(9);
        const double len = rng.uniform() < 0.3 ? 0.11 : 0.045;
        const std::size_t s0 = static_cast<std::size_t>(t0 * rate), n = static_cast<std::size_t>((len + 0.03) * rate);
        for (std::size_t i = 0; i < n && s0 + i < w.samples.size(); ++i) {
            const double t = static_cast<double>(i) / rate;
            const double e = std::min(1.0, t / 0.004) * (t < len ? 1.0 : std::exp(-(t - len) / 0.006));
            const double fm = std::sin(tau * f * 2 * t) * 0.8;
            w.samples[s0 + i] += e * std::sin(tau * f * t + fm) * 0.5;
        }
        t0 += len + (rng.uniform() < 0.2 ? 0.16 : 0.035);
    }
    Reverb rv;
    for (double& s : w.samples) s = s * 0.8 + rv(s) * 0.5;
    return w;
}

Wave radio_sweep() {
    Wave w = blank(4.2);
    Rng rng(12);
    BandPass bp;
    OnePole lp;
    lp.set(3000);
    double ph = 0, ph2 = 0;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double sweep = t / 4.2;
        const double centre = 300 * std::pow(12.0, sweep);
        bp.set(centre, 3.0);
        const double noise = lp(rng.uniform() * 2 - 1);
        const double staticky = bp(noise) * 1.6;
        // Heterodyne whistles where the tuner passes stations.
        const double station = std::exp(-std::pow((sweep - 0.3) / 0.05, 2)) + std::exp(-std::pow((sweep - 0.62) / 0.04, 2)) + 0.8 * std::exp(-std::pow((sweep - 0.85) / 0.05, 2));
        ph += tau * (200 + 2400 * std::fabs(std::sin(sweep * 19))) / rate;
        ph2 += tau * 3.3 / rate;
        const double voice = std::sin(ph) * station * (0.6 + 0.4 * std::sin(ph2 * 7));
        w.samples[i] = staticky * (0.6 + 0.4 * std::sin(tau * 6 * t)) * 0.7 + voice * 0.35;
    }
    fade_ends(w, 0.25, 0.3);
    return w;
}

Wave sonar() {
    Wave w = blank(4.5);
    Echo echo(0.42, 0.55, 0.25);
    Reverb rv;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double ping = t < 0.6 ? std::sin(tau * 1180 * t) * std::min(1.0, t / 0.003) * std::exp(-t / 0.09) : 0.0;
        const double e = echo(ping);
        const double wet = rv(ping + e);
        w.samples[i] = ping * 0.8 + e * 0.5 + wet * 0.9;
    }
    return w;
}

Wave launch_rumble() {
    Wave w = blank(6.0);
    Rng rng(14);
    OnePole lp1, lp2, crackle_hp;
    lp1.set(90);
    lp2.set(320);
    crackle_hp.set(2500);
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double swell = smoothstep(0.0, 2.0, t) * (1 - smoothstep(4.3, 6.0, t));
        const double n = rng.uniform() * 2 - 1;
        const double low = lp1(n) * 6.0;
        const double mid = lp2(n) * 1.4;
        double crack = 0;
        if (rng.uniform() < 0.004 * swell) crack = (rng.uniform() * 2 - 1) * 2.5;
        const double hp = crack - crackle_hp(crack);
        w.samples[i] = (low * (0.8 + 0.2 * std::sin(tau * 7 * t)) + mid * smoothstep(0.5, 2.5, t) + hp * 0.4) * swell;
    }
    fade_ends(w, 0.05, 0.1);
    return w;
}

Wave docking() {
    Wave w = blank(3.2);
    Rng rng(15);
    OnePole hiss_lp;
    hiss_lp.set(5000);
    const double partials[] = {97, 251, 413, 587, 829, 1137};
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double s = 0;
        // Two clunks: contact and latch.
        for (double at : {0.1, 0.55}) {
            const double u = t - at;
            if (u < 0) continue;
            for (int k = 0; k < 6; ++k) s += std::sin(tau * partials[k] * (at > 0.2 ? 1.12 : 1.0) * u) * std::exp(-u / (0.35 / (1 + k * 0.6))) / (1 + k * 0.5);
            s += (rng.uniform() * 2 - 1) * std::exp(-u / 0.01) * 0.8;
        }
        // Air hiss as the seal equalises.
        const double hiss = hiss_lp(rng.uniform() * 2 - 1) * smoothstep(1.1, 1.3, t) * (1 - smoothstep(1.6, 3.1, t)) * 0.35;
        w.samples[i] = s * 0.5 + hiss;
    }
    return w;
}

Wave warp_shimmer() {
    Wave w = blank(4.4);
    Reverb rv;
    std::vector<double> ph(12, 0.0);
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double rise = std::pow(2.0, 2.2 * smoothstep(0.3, 3.6, t));
        double s = 0;
        for (std::size_t k = 0; k < ph.size(); ++k) {
            const double base = 110 * (1 + static_cast<double>(k % 4)) * (1 + 0.004 * static_cast<double>(k)) * rise;
            ph[k] += tau * base * (1 + 0.01 * std::sin(tau * (3 + static_cast<double>(k)) * t)) / rate;
            s += std::sin(ph[k]) / (1 + static_cast<double>(k % 4));
        }
        const double env = smoothstep(0.0, 0.8, t) * (1 - smoothstep(3.2, 4.3, t));
        const double trem = 0.75 + 0.25 * std::sin(tau * (4 + 10 * smoothstep(0.5, 3.5, t)) * t);
        const double dry = s * env * trem * 0.2;
        w.samples[i] = dry + rv(dry) * 0.8;
    }
    return w;
}

Wave beacon() {
    Wave w = blank(3.4);
    Reverb rv;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double s = 0;
        for (int k = 0; k < 4; ++k) {
            const double at = 0.05 + k * 0.7;
            const double u = t - at;
            if (u < 0 || u > 0.5) continue;
            const double f = (k % 2 == 0) ? 1320.0 : 990.0;
            const double e = std::min(1.0, u / 0.01) * std::exp(-u / 0.18);
            s += (std::sin(tau * f * u) + 0.3 * std::sin(tau * f * 2.01 * u)) * e;
        }
        w.samples[i] = s * 0.5 + rv(s) * 0.6;
    }
    return w;
}

Wave thrusters() {
    Wave w = blank(2.6);
    Rng rng(18);
    BandPass bp;
    bp.set(1400, 0.9);
    OnePole lp;
    lp.set(700);
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double e = 0;
        for (double at : {0.05, 0.62, 1.05}) {
            const double u = t - at;
            if (u >= 0) e += std::min(1.0, u / 0.01) * std::exp(-u / (at > 1 ? 0.45 : 0.16));
        }
        const double n = rng.uniform() * 2 - 1;
        w.samples[i] = (bp(n) * 1.5 + lp(n) * 1.2) * e;
    }
    return w;
}

Wave pulsar() {
    Wave w = blank(5.2);
    Rng rng(19);
    BandPass ring1, ring2;
    ring1.set(520, 30);
    ring2.set(780, 30);
    Reverb rv;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double period = 0.31;
        const double phase = std::fmod(t, period) / period;
        const double click = phase < 0.004 ? (rng.uniform() * 2 - 1) * 3 : 0.0;
        const double env = smoothstep(0.0, 0.8, t) * (1 - smoothstep(4.0, 5.1, t));
        const double hum = std::sin(tau * 55 * t) * 0.08;
        const double s = (ring1(click) + ring2(click) * 0.7) * 4 + hum;
        w.samples[i] = (s + rv(s) * 0.7) * env;
    }
    return w;
}

}  // namespace

const char* effect_title(int number) {
    static const char* titles[10] = {"", "telemetry chirps", "radio sweep", "sonar ping", "launch rumble", "docking clunk", "warp shimmer", "navigation beacon", "thruster bursts", "pulsar"};
    return number >= 1 && number <= 9 ? titles[number] : "";
}

Wave make_effect(int number) {
    Wave w;
    switch (number) {
        case 1: w = telemetry(); break;
        case 2: w = radio_sweep(); break;
        case 3: w = sonar(); break;
        case 4: w = launch_rumble(); break;
        case 5: w = docking(); break;
        case 6: w = warp_shimmer(); break;
        case 7: w = beacon(); break;
        case 8: w = thrusters(); break;
        default: w = pulsar(); break;
    }
    normalise(w);
    fade_ends(w);
    return w;
}

Wave make_title_theme() {
    // 72 beats a minute, 8 bars of 4: one loop of 26.67 s, with whole chords of two bars each.
    const double beat = 60.0 / 72.0;
    const std::size_t total = static_cast<std::size_t>(std::llround(32 * beat * rate));
    std::vector<double> buf(total, 0.0);
    auto add = [&](double start, double dur, double release, const std::function<double(double, double)>& voice) {
        const std::size_t s0 = static_cast<std::size_t>(start * rate);
        const std::size_t n = static_cast<std::size_t>((dur + release * 5) * rate);
        for (std::size_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / rate;
            buf[(s0 + i) % total] += voice(t, dur);  // wrap around: the loop is seamless
        }
    };
    // Chords (MIDI notes): Dmaj9, Bm11, Gmaj7#11, Asus4 -> A.
    const int chords[4][5] = {{50, 57, 62, 64, 66}, {47, 54, 62, 64, 69}, {43, 54, 59, 62, 66}, {45, 52, 57, 62, 64}};
    for (int c = 0; c < 4; ++c) {
        const double start = c * 8 * beat;
        for (int k = 0; k < 5; ++k) {
            const double f = mtof(chords[c][k]);
            const double detune = 1.0 + 0.0025 * (k % 2 == 0 ? 1 : -1);
            add(start, 8 * beat, 1.2, [=](double t, double dur) {
                const double e = env_adsr(t, 1.6, 1.0, 0.8, dur, 1.2);
                double s = 0;
                for (int h = 1; h <= 5; ++h) s += (std::sin(tau * f * h * t) + std::sin(tau * f * detune * h * t + h)) / (h * h * 1.4);
                return s * e * (k == 0 ? 0.1 : 0.055);
            });
        }
        // Slow arpeggio of soft bells over the chord, eighth notes rising and falling.
        const int pattern[8] = {1, 2, 3, 4, 3, 2, 4, 3};
        for (int n = 0; n < 16; ++n) {
            const int note = chords[c][pattern[n % 8]] + 12;
            const double f = mtof(note);
            const double st = start + n * beat / 2;
            const double vel = (n % 4 == 0 ? 1.0 : 0.7);
            add(st, 0.1, 0.9, [=](double t, double) {
                const double e = std::min(1.0, t / 0.004) * std::exp(-t / 0.9);
                const double mod = std::sin(tau * f * 3.5 * t) * 1.4 * std::exp(-t / 0.25);
                return std::sin(tau * f * t + mod) * e * 0.09 * vel;
            });
        }
    }
    // A gentle echo on the whole loop, also circular.
    std::vector<double> out(total, 0.0);
    const std::size_t d = static_cast<std::size_t>(std::llround(beat * 0.75 * rate));
    for (int pass = 0; pass < 6; ++pass) {
        const double g = std::pow(0.35, pass);
        for (std::size_t i = 0; i < total; ++i) out[(i + d * static_cast<std::size_t>(pass)) % total] += buf[i] * g;
    }
    Wave w;
    w.rate = rate;
    w.samples = std::move(out);
    normalise(w, 0.7);
    return w;
}

std::vector<std::uint8_t> encode_wav(const Wave& w) {
    std::vector<std::uint8_t> out;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(w.samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    u32(36 + data_bytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(static_cast<std::uint32_t>(w.rate));
    u32(static_cast<std::uint32_t>(w.rate * 2));
    u16(2);
    u16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    u32(data_bytes);
    for (double s : w.samples) {
        const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        u16(static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
    }
    return out;
}

}  // namespace assetgen
