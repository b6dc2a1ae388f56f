// WAVE sounds: the desktop host's decodeWave reads any bytes through SDL;
// what it accepts must describe a playable format.
#include "fuzz/fuzz_entries.h"
#include "platform/sdl/wave_sdl.h"

namespace horalia::fuzz {

const char* wave(std::span<const std::uint8_t> bytes) {
    const std::optional<platform::sdl::DecodedWave> decoded = platform::sdl::decodeWave(bytes);
    if (!decoded) return nullptr;
    if (decoded->rate <= 0 || decoded->channels <= 0) return "an accepted wave without rate or channels";
    if (decoded->format == 0) return "an accepted wave without a sample format";
    return nullptr;
}

}  // namespace horalia::fuzz
