// WAVE decoding for the desktop host, by SDL's reader from memory.
#include "platform/sdl/wave_sdl.h"

#include <SDL.h>

namespace platform::sdl {

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

}  // namespace platform::sdl
