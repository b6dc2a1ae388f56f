// Sound requests: the bytes must at least be a RIFF WAVE before a host is
// asked to play them; anything else is refused quietly. The host decodes the
// samples itself.
#include <cstring>

#include "platform/core/host.h"
#include "platform/core/resources_internal.h"
#include "platform/sound.h"

namespace platform {

bool playSound(std::span<const std::uint8_t> wave, unsigned flags) {
    if (wave.empty() || !(flags & SND_MEMORY)) return false;
    if (wave.size() < 12 || std::memcmp(wave.data(), "RIFF", 4) != 0 ||
        std::memcmp(wave.data() + 8, "WAVE", 4) != 0)
        return false;
    return host::playWave(wave, core::waveIdOf(wave), flags);
}

}  // namespace platform
