// The headless host's controls for tests: the display is a picture in memory,
// the stylus, keys and tick counter are driven by hand, and played sounds are
// recorded instead of heard.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/time_input.h"

namespace platform::headless {

// Forgets every window, class, queued message, pressed key and recorded
// sound; the tick counter goes back to 0 and the stylus is up.
void reset();

// The tick counter that tickCount() reports; it only moves when told to.
void setTickCount(std::uint32_t now);
void advanceTicks(std::uint32_t milliseconds);

// The local time that localTime() reports.
void setLocalTime(const LocalTime& time);

// Stylus input at display coordinates, queued as the desktop host queues it:
// the async stylus state changes at once, the message arrives through the
// queue (a quick second press becomes a double-click).
void pressStylus(int x, int y);
void releaseStylus(int x, int y);

// A key press (and release) with or without Ctrl held, as WM_KEYDOWN/WM_KEYUP.
void pressKey(int virtualKey, bool control);
// One key going down or up, queued as the desktop host queues it.
void key(int virtualKey, bool down);

// What is on the display now.
const Picture& display();

// Sounds played since the last reset, oldest first.
struct PlayedSound {
    std::uint32_t waveId = 0;  // the WAVE resource whose bytes were played, 0 if none
    unsigned flags = 0;
};
const std::vector<PlayedSound>& playedSounds();
void clearPlayedSounds();

// What the game said to a screen reader since the last reset, oldest first.
const std::vector<std::wstring>& announcements();

// The wait for input, in milliseconds, that the last peek at an empty queue
// asked the host for (the headless host never waits); -1 when none was asked
// since reset.
int lastWait();

// How often some process asked a window of this one to come to the front.
int raiseRequests();

// Whether this process's window counts as one that can be seen (it does
// until told otherwise, and after reset); a copy that cannot be seen gives
// way to a second copy that starts.
void setWindowShows(bool shows);

// Where the registry file lives (instead of the user's configuration folder).
void setRegistryFolder(const std::filesystem::path& folder);

}  // namespace platform::headless
