// The screens' and the application's short sounds: WAVE resources of the
// program's own module, kept as byte spans for the life of the program and
// played from memory. A sound that could not be loaded is an empty span.
#pragma once

#include <cstdint>
#include <span>

#include "platform/resources.h"
#include "platform/sound.h"

// The bytes of WAVE resource id of the running program; empty when missing.
inline std::span<const std::uint8_t> loadWave(std::uint32_t id) {
    return platform::loadResource(platform::moduleHandle(), L"WAVE", id);
}

// Plays the sound with the flags (SND_MEMORY to the end, SND_ASYNC | SND_MEMORY
// without waiting); a sound that was not loaded is skipped.
inline void playWave(std::span<const std::uint8_t> sound, unsigned flags) {
    if (!sound.empty()) platform::playSound(sound, flags);
}

// Played to the end before the call returns.
constexpr unsigned SOUND_TO_END = platform::SND_MEMORY;
// Started; the call returns at once and the screen goes on.
constexpr unsigned SOUND_ASYNC = platform::SND_ASYNC | platform::SND_MEMORY;
