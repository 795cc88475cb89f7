// Short sounds for the demo: RIFF WAVE files of 16-bit mono PCM tones at 8 kHz.
#pragma once

#include <cstdint>
#include <vector>

namespace demo {

struct Tone {
    double frequency = 440;  // Hz; 0 is silence
    double seconds = 0.5;
};

inline constexpr int kWavSampleRate = 8000;

// The tones one after another, each faded in and out so they do not click.
std::vector<std::uint8_t> MakeWav(const std::vector<Tone>& tones);

}  // namespace demo
