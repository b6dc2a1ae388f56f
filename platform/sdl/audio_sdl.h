// The desktop's sound device between sounds.
#pragma once

namespace platform::sdl {

// Called while the host waits for input: pauses the device once a sound has
// ended and closes it after five seconds of silence, since even a paused
// device's thread wakes for every silent buffer (about 43 times a second);
// the next sound opens it again, and a second of clicks keeps it open.
void restAudio();

}  // namespace platform::sdl
