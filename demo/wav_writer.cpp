#include "demo/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

namespace demo {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

}  // namespace

std::vector<std::uint8_t> MakeWav(const std::vector<Tone>& tones) {
    std::vector<std::int16_t> samples;
    const int fade = kWavSampleRate / 100;  // 10 ms
    for (const Tone& tone : tones) {
        const int count = static_cast<int>(tone.seconds * kWavSampleRate);
        for (int i = 0; i < count; ++i) {
            const double envelope = std::min({1.0, double(i) / fade, double(count - 1 - i) / fade});
            const double value =
                std::sin(2 * std::numbers::pi * tone.frequency * i / kWavSampleRate);
            samples.push_back(static_cast<std::int16_t>(std::lround(value * envelope * 12000)));
        }
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put(out, 36 + dataBytes, 4);
    PutTag(out, "WAVEfmt ");
    Put(out, 16, 4);                  // format chunk size
    Put(out, 1, 2);                   // PCM
    Put(out, 1, 2);                   // mono
    Put(out, kWavSampleRate, 4);      // samples a second
    Put(out, kWavSampleRate * 2, 4);  // bytes a second
    Put(out, 2, 2);                   // bytes a frame
    Put(out, 16, 2);                  // bits a sample
    PutTag(out, "data");
    Put(out, dataBytes, 4);
    for (std::int16_t sample : samples)
        Put(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

}  // namespace demo
