// Sound on the desktop: one SDL audio device, opened at the first sound and
// closed again after a while of silence, that plays one converted waveform
// at a time. A new sound replaces the one playing. Waveforms are read by the
// core's WAVE reader, converted once with SDL's audio conversion and kept,
// since the program plays the same few resources again and again.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/core/host.h"
#include "platform/formats/wave_decoder.h"
#include "platform/sdl/audio_sdl.h"
#include "platform/sound.h"

namespace platform::host {
namespace {

constexpr int DEVICE_RATE = 22050;
constexpr Uint32 CLOSE_AFTER_SILENCE = 5000;

struct Audio {
    bool failed = false;  // no sound device: no more attempts
    bool subsystem = false;
    SDL_AudioDeviceID device = 0;
    bool paused = false;
    Uint32 silentSince = 0;
    std::map<const std::uint8_t*, std::vector<std::int16_t>> converted;
    const std::vector<std::int16_t>* playing = nullptr;  // read by the audio thread
    std::size_t position = 0;
};

Audio& audio() {
    static Audio instance;
    return instance;
}

void fill(void*, Uint8* stream, int length) {
    auto& a = audio();
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    const std::size_t wanted = static_cast<std::size_t>(length) / 2;
    std::size_t written = 0;
    if (a.playing) {
        const std::size_t left = a.playing->size() - a.position;
        written = std::min(left, wanted);
        std::copy_n(a.playing->data() + a.position, written, out);
        a.position += written;
        if (a.position >= a.playing->size()) a.playing = nullptr;
    }
    std::fill(out + written, out + wanted, std::int16_t{0});
}

bool openDevice() {
    auto& a = audio();
    if (a.device != 0) return true;
    if (a.failed) return false;
    a.failed = true;
    if (!a.subsystem && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    a.subsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = DEVICE_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    wanted.callback = fill;
    a.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (a.device == 0) return false;
    a.failed = false;
    a.paused = true;  // started by the sound that opened it
    return true;
}

// The waveform in the device's format, converted on first use.
const std::vector<std::int16_t>* convert(std::span<const std::uint8_t> wave) {
    auto& cache = audio().converted;
    if (auto found = cache.find(wave.data()); found != cache.end()) return &found->second;
    auto decoded = formats::decodeWave(wave);
    if (!decoded || decoded->channels > 255) return nullptr;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, static_cast<Uint8>(decoded->channels), decoded->rate,
                          AUDIO_S16SYS, 1, DEVICE_RATE) < 0)
        return nullptr;
    const std::size_t inputBytes = decoded->samples.size() * 2;
    std::vector<std::uint8_t> buffer(inputBytes * static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(buffer.data(), decoded->samples.data(), inputBytes);
    cvt.buf = buffer.data();
    cvt.len = static_cast<int>(inputBytes);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return nullptr;
    const int bytes = cvt.needed ? cvt.len_cvt : cvt.len;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes) / 2);
    std::memcpy(samples.data(), buffer.data(), samples.size() * 2);
    return &(cache[wave.data()] = std::move(samples));
}

}  // namespace

bool playWave(std::span<const std::uint8_t> wave, std::uint32_t, unsigned flags) {
    if (!openDevice()) return false;
    const auto* samples = convert(wave);
    if (!samples) return false;
    auto& a = audio();
    SDL_LockAudioDevice(a.device);
    a.playing = samples;
    a.position = 0;
    SDL_UnlockAudioDevice(a.device);
    if (a.paused) SDL_PauseAudioDevice(a.device, 0);
    a.paused = false;
    if (!(flags & SND_ASYNC)) {
        // Wait for the end, and for the device to play out what it holds.
        for (;;) {
            SDL_LockAudioDevice(a.device);
            const bool done = a.playing != samples;
            SDL_UnlockAudioDevice(a.device);
            if (done) break;
            SDL_Delay(2);
        }
        SDL_Delay(512 * 1000 / DEVICE_RATE);
    }
    return true;
}

}  // namespace platform::host

namespace platform::sdl {

void restAudio() {
    auto& a = host::audio();
    if (a.device == 0) return;
    SDL_LockAudioDevice(a.device);
    const bool silent = a.playing == nullptr;
    SDL_UnlockAudioDevice(a.device);
    if (!silent) return;
    if (!a.paused) {
        SDL_PauseAudioDevice(a.device, 1);
        a.paused = true;
        a.silentSince = SDL_GetTicks();
    } else if (SDL_GetTicks() - a.silentSince >= host::CLOSE_AFTER_SILENCE) {
        SDL_CloseAudioDevice(a.device);
        a.device = 0;
    }
}

}  // namespace platform::sdl
