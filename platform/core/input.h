// The host's way into the shared core: stylus, keys and window requests are
// turned into queued messages here, with the async stylus state and the
// double-click timing kept once for every host.
#pragma once

#include <cstdint>

namespace platform {
class Picture;
class Window;
struct Message;
}

namespace platform::core {

// The stylus went down or up at display coordinates.
void stylusDown(int x, int y);
void stylusUp(int x, int y);

// A key went down or up (Ctrl and Shift are keys of their own: VK_CONTROL,
// VK_SHIFT). Hosts pass a held key's repeats on as nothing: holding a key is
// holding the stylus on a button, which presses it once.
void key(int virtualKey, bool down);

// The user asked to close the window (the desktop window's close box).
void closeRequested();

// The loop took a key message from the queue (the queue tells input).
void keyMessageTaken(const Message& message);

// Whether Ctrl is down as the loop sees it: from its key-down message on, so
// that a combination is judged by the order of the messages (accelerators).
bool controlHeld();

// The picture that the windows' canvases draw into.
Picture& display();

// The top-level window that receives input, or null.
Window* inputWindow();

// Forgets all windows, classes, messages and input state (for tests).
void resetWindowsAndMessages();
void resetInput();

// Double-click limits: a second press within this time and distance.
constexpr std::uint32_t DOUBLE_CLICK_TIME = 500;
constexpr int DOUBLE_CLICK_DISTANCE = 2;

}  // namespace platform::core
