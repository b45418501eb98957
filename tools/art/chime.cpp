#include "chime.h"

#include <algorithm>
#include <cmath>

namespace velmora::art {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Strike {
    double at;     // seconds
    double pitch;  // Hz of the main partial
    double level;
};

// The partials of a small bell relative to its main tone: each with its loudness and the time
// in which it dies down to 1/e. The pair near 1.0 beats slowly, which gives the shimmer.
struct Partial {
    double ratio;
    double level;
    double decay;
};
constexpr Partial kPartials[] = {{0.5, 0.10, 1.6},  {1.0, 1.0, 1.2},    {1.0023, 0.35, 1.0},
                                 {2.0, 0.30, 0.55}, {2.76, 0.17, 0.32}, {4.07, 0.07, 0.2},
                                 {5.40, 0.04, 0.12}};

// A rising major arpeggio, E5, G5, C6: bright enough to wake, soft enough not to startle.
constexpr Strike kStrikes[] = {{0.012, 659.26, 1.0}, {0.40, 783.99, 0.92}, {0.80, 1046.50, 0.85}};

constexpr double kAttack = 0.004;   // seconds for a strike to reach full level
constexpr double kFadeOut = 0.45;   // seconds of fade at the end
constexpr double kHeadroom = 0.72;  // the loudest sample as a share of full scale

void PutU32(std::vector<uint8_t>* out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>* out, uint16_t v) {
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}
void PutTag(std::vector<uint8_t>* out, const char* tag) {
    out->insert(out->end(), tag, tag + 4);
}

}  // namespace

std::vector<uint8_t> ChimeSamples() {
    std::vector<double> wave(kChimeSamples, 0.0);
    // Each strike rises over a few milliseconds and rings on under the next one.
    for (const Strike& s : kStrikes) {
        for (int n = 0; n < kChimeSamples; ++n) {
            const double local = static_cast<double>(n) / kChimeRate - s.at;
            if (local < 0) continue;
            const double attack =
                local < kAttack ? 0.5 - 0.5 * std::cos(kPi * local / kAttack) : 1.0;
            double v = 0;
            for (const Partial& p : kPartials) {
                const double f = s.pitch * p.ratio;
                if (f > 0.45 * kChimeRate) continue;  // keep clear of the Nyquist limit
                v += p.level * std::exp(-local / p.decay) * std::sin(2 * kPi * f * local);
            }
            wave[n] += s.level * attack * v;
        }
    }
    const int fade = static_cast<int>(kFadeOut * kChimeRate);
    for (int i = 0; i < fade; ++i) {
        const double k = static_cast<double>(i) / fade;  // 0 at the last sample
        wave[kChimeSamples - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * k);
    }

    double peak = 0;
    for (double v : wave)
        peak = std::max(peak, std::fabs(v));
    std::vector<uint8_t> samples(kChimeSamples);
    for (int n = 0; n < kChimeSamples; ++n) {
        const double scaled = 128 + 127 * kHeadroom * wave[n] / peak;
        samples[n] = static_cast<uint8_t>(std::clamp<long>(std::lround(scaled), 1, 255));
    }
    return samples;
}

std::vector<uint8_t> ChimeWav() {
    const std::vector<uint8_t> samples = ChimeSamples();
    std::vector<uint8_t> out;
    out.reserve(kChimeFileSize);
    PutTag(&out, "RIFF");
    PutU32(&out, kChimeFileSize - 8);
    PutTag(&out, "WAVE");
    PutTag(&out, "fmt ");
    PutU32(&out, 16);
    PutU16(&out, 1);           // PCM
    PutU16(&out, 1);           // mono
    PutU32(&out, kChimeRate);  // samples per second
    PutU32(&out, kChimeRate);  // bytes per second
    PutU16(&out, 1);           // bytes per sample frame
    PutU16(&out, 8);           // bits per sample
    PutTag(&out, "fact");
    PutU32(&out, 4);
    PutU32(&out, kChimeSamples);
    PutTag(&out, "data");
    PutU32(&out, kChimeSamples);
    out.insert(out.end(), samples.begin(), samples.end());
    if (kChimeSamples % 2 != 0) out.push_back(0);  // chunks start on even offsets
    return out;
}

}  // namespace velmora::art
