// Writes the default alarm sound: a two-note bell chime ("ding-dong") as a 16-bit stereo PCM WAV file at
// 44,100 Hz, 62,388 frames long (249,596 bytes), that starts and ends in silence so that it loops cleanly.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kFrames = 62388;
constexpr double kPi = 3.14159265358979323846;

struct Partial
{
    double ratio;     // of the strike's pitch
    double amplitude; // relative
    double decay;     // per second
};

// Bell-like partials: a hum below the note, the note, and brighter overtones that die away faster.
constexpr std::array<Partial, 6> kPartials{{
    {0.5, 0.20, 2.2},
    {1.0, 1.00, 2.8},
    {2.0, 0.45, 4.0},
    {2.4, 0.25, 5.0},
    {3.0, 0.18, 6.5},
    {4.2, 0.08, 9.0},
}};

struct Strike
{
    double start;   // seconds
    double pitch;   // Hz
    double panLeft; // gain on the left channel; the right one gets 1 - panLeft / 2
};

constexpr std::array<Strike, 2> kStrikes{{
    {0.00, 659.25, 1.00}, // E5
    {0.42, 523.25, 0.80}, // C5
}};

double strikeSample(const Strike& strike, double t)
{
    const double local = t - strike.start;
    if (local < 0)
        return 0;
    const double attack = std::min(1.0, local / 0.004);
    double sum = 0;
    for (const Partial& p : kPartials)
        sum += p.amplitude * std::exp(-p.decay * local) * std::sin(2 * kPi * strike.pitch * p.ratio * local);
    return attack * sum;
}

void putLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    std::vector<double> left(kFrames), right(kFrames);
    double peak = 0;
    for (int i = 0; i < kFrames; ++i) {
        const double t = double(i) / kRate;
        // The last quarter second fades out completely, so the loop joins silence to silence.
        const double remaining = double(kFrames - 1 - i) / kRate;
        const double fade = remaining < 0.25 ? 0.5 - 0.5 * std::cos(kPi * remaining / 0.25) : 1.0;
        for (const Strike& s : kStrikes) {
            const double v = strikeSample(s, t) * fade;
            left[i] += v * s.panLeft;
            right[i] += v * (1.0 - s.panLeft / 2.0);
        }
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }
    const double gain = 0.6 * 32767.0 / peak;

    const uint32_t dataBytes = kFrames * 4;
    std::vector<uint8_t> wav;
    wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
    putLE(wav, 36 + dataBytes, 4);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLE(wav, 16, 4);        // fmt chunk size
    putLE(wav, 1, 2);         // PCM
    putLE(wav, 2, 2);         // channels
    putLE(wav, kRate, 4);     // frames per second
    putLE(wav, kRate * 4, 4); // bytes per second
    putLE(wav, 4, 2);         // bytes per frame
    putLE(wav, 16, 2);        // bits per sample
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    putLE(wav, dataBytes, 4);
    for (int i = 0; i < kFrames; ++i) {
        putLE(wav, static_cast<uint16_t>(static_cast<int16_t>(std::lround(left[i] * gain))), 2);
        putLE(wav, static_cast<uint16_t>(static_cast<int16_t>(std::lround(right[i] * gain))), 2);
    }

    FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(wav.data(), 1, wav.size(), file) != wav.size() || std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
