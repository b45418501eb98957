// The alarm sound: a short bell chime as an 8-bit mono RIFF WAVE file.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::art {

constexpr int kChimeRate = 11025;      // samples per second
constexpr int kChimeSamples = 29943;   // about 2.7 s
constexpr int kChimeFileSize = 30000;  // header, samples and one pad byte

// The sample values, unsigned 8-bit, 128 is silence.
std::vector<uint8_t> ChimeSamples();

// The whole file: RIFF header, "fmt " (PCM, 1 channel, 8 bits), "fact" with the sample count,
// "data", and a zero pad byte after the odd-sized data.
std::vector<uint8_t> ChimeWav();

}  // namespace velmora::art
