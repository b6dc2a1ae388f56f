// What each host (desktop, headless) supplies to the shared platform core:
// waiting for input, showing the display, sound output, time and raising the
// window, and the user's languages. The core calls these; the hosts call back
// into core/input.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace platform::host {

// Delivers pending host input to the core; waits up to timeoutMs for some
// (the message queue chooses the wait: core/idle_wait.h). A request on the
// one-copy listener (singleInstance::listenerDescriptor) is input too, handed
// to singleInstance::poll. The wait must end as soon as input arrives.
void waitForEvents(int timeoutMs);

// The display picture changed: show it.
void present(const Picture& display);

// A top-level window was created or shown; the host opens its native window.
void windowCreated(std::wstring_view title);
void windowShown();

// Someone asked the window to come to the front.
void raiseWindow();

// Plays a RIFF WAVE that the core has checked; waveId is its resource id or 0.
bool playWave(std::span<const std::uint8_t> wave, std::uint32_t waveId, unsigned flags);

std::uint32_t tickCount();
LocalTime localTime();

// The user's locales, best first ("de_DE.UTF-8", "pt-BR"); empty means the
// program's own language. Asked at every resource look-up, so keep it cheap.
std::vector<std::string> preferredLocales();

}  // namespace platform::host
