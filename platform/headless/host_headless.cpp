// The headless host: the display is a picture in memory, time stands still
// until a test moves it, input comes from the test, and sounds are recorded.
// Nothing here ever waits.
#include <unistd.h>

#include <string>

#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/headless/headless.h"
#include "platform/posix/locale_environment.h"
#include "platform/posix/single_instance.h"
#include "platform/posix/xdg_folders.h"

namespace platform {
namespace {

struct HeadlessState {
    std::uint32_t now = 0;
    LocalTime time{2026, 12, 1, 7, 9, 30, 0, 0};
    std::vector<headless::PlayedSound> sounds;
    std::vector<std::wstring> announcements;
    int lastWait = -1;
    bool windowShows = true;
};

HeadlessState& state() {
    static HeadlessState instance;
    return instance;
}

// Tests of one process find each other's windows, never the desktop game's.
const bool namespaced = [] {
    posix::singleInstance::setNamespace("headless." + std::to_string(getpid()));
    return true;
}();

}  // namespace

namespace host {

void waitForEvents(int timeoutMs) {
    if (timeoutMs > 0) state().lastWait = timeoutMs;
    posix::singleInstance::poll();
}
void present(const Picture&) {}
void windowCreated(std::wstring_view) {}
void windowShown() {}
void raiseWindow() {}
bool windowShows() { return state().windowShows; }

bool playWave(std::span<const std::uint8_t>, std::uint32_t waveId, unsigned flags) {
    state().sounds.push_back({waveId, flags});
    return true;
}

void announce(std::wstring_view text) { state().announcements.emplace_back(text); }
// Nothing surrounds a headless window: the focus stays in the game.
bool passFocusOn(bool) { return false; }

std::uint32_t tickCount() { return state().now; }
LocalTime localTime() { return state().time; }
std::vector<std::string> preferredLocales() { return posix::environmentLocales(); }

}  // namespace host

namespace headless {

void reset() {
    (void)namespaced;
    core::resetWindowsAndMessages();
    core::resetInput();
    host::releaseOneCopy();
    state() = HeadlessState{};
}

void setTickCount(std::uint32_t now) { state().now = now; }
void advanceTicks(std::uint32_t milliseconds) { state().now += milliseconds; }
void setLocalTime(const LocalTime& time) { state().time = time; }

void pressStylus(int x, int y) { core::stylusDown(x, y); }
void releaseStylus(int x, int y) { core::stylusUp(x, y); }

void pressKey(int virtualKey, bool control) {
    if (control) core::key(VK_CONTROL, true);
    core::key(virtualKey, true);
    core::key(virtualKey, false);
    if (control) core::key(VK_CONTROL, false);
}

void key(int virtualKey, bool down) { core::key(virtualKey, down); }

const Picture& display() { return core::display(); }

const std::vector<PlayedSound>& playedSounds() { return state().sounds; }
void clearPlayedSounds() { state().sounds.clear(); }

const std::vector<std::wstring>& announcements() { return state().announcements; }

int lastWait() { return state().lastWait; }

int raiseRequests() { return posix::singleInstance::raiseRequests(); }

void setWindowShows(bool shows) { state().windowShows = shows; }

void setRegistryFolder(const std::filesystem::path& folder) { posix::setSettingsFolder(folder); }

}  // namespace headless
}  // namespace platform
