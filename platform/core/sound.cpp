// Sound requests: the bytes must be a RIFF WAVE that SDL can read before a
// host is asked to play them; anything else is refused quietly.
#include <SDL.h>

#include "platform/core/host.h"
#include "platform/core/resources_internal.h"
#include "platform/core/wave.h"

namespace platform {

namespace core {

std::optional<DecodedWave> decodeWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || bytes.size() > 64 * 1024 * 1024) return std::nullopt;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream) return std::nullopt;
    SDL_AudioSpec layout{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(stream, 1, &layout, &samples, &length)) return std::nullopt;
    DecodedWave wave;
    wave.rate = layout.freq;
    wave.channels = layout.channels;
    wave.format = layout.format;
    wave.samples.assign(samples, samples + length);
    SDL_FreeWAV(samples);
    return wave;
}

}  // namespace core

bool playSound(std::span<const std::uint8_t> wave, unsigned flags) {
    if (wave.empty() || !(flags & SND_MEMORY)) return false;
    if (wave.size() < 12 || std::memcmp(wave.data(), "RIFF", 4) != 0 ||
        std::memcmp(wave.data() + 8, "WAVE", 4) != 0)
        return false;
    return host::playWave(wave, core::waveIdOf(wave), flags);
}

}  // namespace platform
