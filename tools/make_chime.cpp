// Writes the finishing chime: a short two-note bell, 16-bit mono PCM WAV at 44.1 kHz.
// Usage: make_chime OUTPUT.wav
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<unsigned char>& out, std::uint16_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xffff));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_chime OUTPUT.wav\n", stderr);
        return 2;
    }
    constexpr int kRate = 44100;
    constexpr double kPi = 3.14159265358979323846;
    const int total = kRate * 9 / 10;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(total));
    // Two bell notes (E6, then B6 a little later), each with a soft attack and a long decay.
    const struct {
        double freq, start, gain;
    } notes[] = {{1318.5, 0.0, 0.45}, {1975.5, 0.12, 0.35}};
    for (int i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (const auto& n : notes) {
            const double u = t - n.start;
            if (u < 0)
                continue;
            const double envelope = std::min(1.0, u / 0.004) * std::exp(-u * 5.5);
            v += n.gain * envelope *
                 (std::sin(2 * kPi * n.freq * u) + 0.3 * std::sin(2 * kPi * n.freq * 2.01 * u));
        }
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(v * 0.7 * 32767));
    }

    std::vector<unsigned char> out;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    for (char c : {'R', 'I', 'F', 'F'})
        out.push_back(static_cast<unsigned char>(c));
    Put32(out, 36 + dataBytes);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
        out.push_back(static_cast<unsigned char>(c));
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    for (char c : {'d', 'a', 't', 'a'})
        out.push_back(static_cast<unsigned char>(c));
    Put32(out, dataBytes);
    for (std::int16_t s : samples)
        Put16(out, static_cast<std::uint16_t>(s));

    FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
