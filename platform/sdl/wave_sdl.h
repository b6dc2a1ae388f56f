// A RIFF WAVE read into its sample format and raw samples by SDL's reader,
// which knows the compressed forms too; the desktop host converts the result
// for its audio device.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::sdl {

struct DecodedWave {
    int rate = 0;
    int channels = 0;
    std::uint16_t format = 0;  // SDL's audio format code
    std::vector<std::uint8_t> samples;
};

// nullopt when the bytes are not a WAVE that SDL can read.
std::optional<DecodedWave> decodeWave(std::span<const std::uint8_t> bytes);

}  // namespace platform::sdl
