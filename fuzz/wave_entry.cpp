// WAVE sounds: the core's reader takes any bytes; what it accepts must
// describe a playable sound whose samples fill whole frames.
#include "fuzz/fuzz_entries.h"
#include "platform/formats/wave_decoder.h"

namespace horalia::fuzz {

const char* wave(std::span<const std::uint8_t> bytes) {
    const std::optional<platform::formats::DecodedWave> decoded = platform::formats::decodeWave(bytes);
    if (!decoded) return nullptr;
    if (decoded->rate <= 0 || decoded->channels <= 0) return "an accepted wave without rate or channels";
    if (decoded->samples.size() % static_cast<std::size_t>(decoded->channels) != 0)
        return "an accepted wave with a partial frame";
    if (decoded->samples.size() > bytes.size()) return "more samples than bytes";
    return nullptr;
}

}  // namespace horalia::fuzz
