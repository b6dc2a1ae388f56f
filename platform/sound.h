// Sound: one RIFF WAVE from memory at a time.
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// The system's flag names and values; where <windows.h> comes first, its
// macros stand in their place.
#ifndef SND_ASYNC
constexpr unsigned SND_SYNC = 0x0;    // return when the sound has ended
constexpr unsigned SND_ASYNC = 0x1;   // return at once
constexpr unsigned SND_MEMORY = 0x4;  // the sound is a RIFF WAVE in memory
#endif

// Plays a RIFF WAVE held in memory. A new sound ends the one playing. Without
// an audio device, or with data that is not a playable WAVE, nothing is
// played and false is returned.
bool playSound(std::span<const std::uint8_t> wave, unsigned flags);

}  // namespace platform
