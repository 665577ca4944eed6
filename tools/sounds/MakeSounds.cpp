// Writes the program's two sounds into the folder given: "CameraOn.wav", a rising two-tone
// chime played at start, and "click.wav", a shutter click played for each snapshot. They are
// synthesised here so the repository holds their recipe rather than binaries, and the output is
// the same on every build (the noise comes from a fixed-seed generator).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

// Exponential decay with a short linear attack, so no tone starts with a click of its own.
double Envelope(double t, double attack, double decay) {
    if (t < 0) return 0;
    const double rise = t < attack ? t / attack : 1.0;
    return rise * std::exp(-t / decay);
}

// A bell-like tone: the fundamental with two quickly fading overtones.
void AddBell(Samples& out, double start, double frequency, double length, double gain) {
    const size_t first = size_t(start * kRate);
    const size_t count = size_t(length * kRate);
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = double(i) / kRate;
        double v = std::sin(2 * kPi * frequency * t) * Envelope(t, 0.004, 0.20);
        v += 0.30 * std::sin(2 * kPi * 2 * frequency * t) * Envelope(t, 0.004, 0.08);
        v += 0.12 * std::sin(2 * kPi * 3 * frequency * t) * Envelope(t, 0.004, 0.04);
        out[first + i] += gain * v;
    }
}

// Small deterministic noise source (xorshift), uniform in [-1, 1].
class Noise {
public:
    double Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return double(m_state >> 11) / double(1ull << 53) * 2.0 - 1.0;
    }

private:
    uint64_t m_state = 0x9E3779B97F4A7C15ull;
};

// One blade movement of a shutter: a burst of bright noise and a short body resonance.
void AddClack(Samples& out, Noise& noise, double start, double resonance, double gain) {
    const size_t first = size_t(start * kRate);
    double previous = 0;
    for (size_t i = 0; first + i < out.size() && i < size_t(0.06 * kRate); ++i) {
        const double t = double(i) / kRate;
        const double white = noise.Next();
        const double bright = white - 0.85 * previous;  // a one-pole high-pass: crisp, not hissy
        previous = white;
        const double v = 0.8 * bright * Envelope(t, 0.0003, 0.004) +
                         0.9 * std::sin(2 * kPi * resonance * t) * Envelope(t, 0.0005, 0.007);
        out[first + i] += gain * v;
    }
}

// Peak to `peak` of full scale, and a short fade at the end so the last sample is silence.
void Finish(Samples& s, double peak) {
    double max = 0;
    for (double v : s) max = std::max(max, std::abs(v));
    if (max > 0)
        for (double& v : s) v *= peak / max;
    const size_t fade = std::min(s.size(), size_t(0.01 * kRate));
    for (size_t i = 0; i < fade; ++i) s[s.size() - 1 - i] *= double(i) / double(fade);
}

void Put16(std::string& b, uint16_t v) {
    b.push_back(char(v & 0xFF));
    b.push_back(char(v >> 8));
}

void Put32(std::string& b, uint32_t v) {
    Put16(b, uint16_t(v & 0xFFFF));
    Put16(b, uint16_t(v >> 16));
}

// 16-bit PCM, mono, little-endian, the plain 44-byte header every player reads.
bool WriteWav(const std::string& path, const Samples& samples) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string b;
    b += "RIFF";
    Put32(b, 36 + dataBytes);
    b += "WAVEfmt ";
    Put32(b, 16);
    Put16(b, 1);  // PCM
    Put16(b, 1);  // mono
    Put32(b, kRate);
    Put32(b, kRate * 2);
    Put16(b, 2);
    Put16(b, 16);
    b += "data";
    Put32(b, dataBytes);
    for (double v : samples) Put16(b, uint16_t(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767))));
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

Samples Chime() {
    Samples s(size_t(0.8 * kRate), 0.0);
    AddBell(s, 0.00, 783.99, 0.8, 0.8);   // G5
    AddBell(s, 0.16, 1046.50, 0.64, 1.0); // C6, a fourth above: rising, friendly
    Finish(s, 0.6);
    return s;
}

Samples Click() {
    Samples s(size_t(0.16 * kRate), 0.0);
    Noise noise;
    AddClack(s, noise, 0.000, 2600, 0.7);  // blades open
    AddClack(s, noise, 0.065, 1800, 1.0);  // and close, heavier
    Finish(s, 0.7);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    if (!WriteWav(folder + "/CameraOn.wav", Chime()) || !WriteWav(folder + "/click.wav", Click())) {
        std::fprintf(stderr, "%s: cannot write the sounds into %s\n", argv[0], folder.c_str());
        return 1;
    }
    return 0;
}
