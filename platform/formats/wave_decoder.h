// The project's own reader of RIFF WAVE sounds: uncompressed PCM, 8 or 16
// bits, any channel count, read into signed 16-bit samples. Every host plays
// sounds through it, so the same bytes give the same samples everywhere.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::formats {

struct DecodedWave {
    int rate = 0;                       // frames per second
    int channels = 0;                   // samples per frame, interleaved
    std::vector<std::int16_t> samples;  // channels * frames
};

// nullopt when the bytes are not a complete PCM WAVE of 8 or 16 bits.
std::optional<DecodedWave> decodeWave(std::span<const std::uint8_t> bytes);

}  // namespace platform::formats
