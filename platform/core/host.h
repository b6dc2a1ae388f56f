// What each host (desktop, headless, browser) supplies to the shared platform:
// waiting for input, showing the display, sound output, time, raising the
// window, the user's languages, where the settings text is kept, and the
// claim that keeps one copy of the program running. The core and the
// registry call these; the hosts call back into core/input.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.h"
#include "platform/time_input.h"

namespace platform::host {

// Delivers pending host input to the core; waits up to timeoutMs for some
// (the message queue chooses the wait: core/idle_wait.h). The wait must end
// as soon as input arrives, a request of another copy included.
void waitForEvents(int timeoutMs);

// The display picture changed: show it.
void present(const Picture& display);

// A top-level window was created or shown; the host opens its native window.
void windowCreated(std::wstring_view title);
void windowShown();

// Someone asked the window to come to the front.
void raiseWindow();

// True when this process has a window that the user can see, or could once
// it is raised; false when it has none, or draws where nobody looks (a video
// driver without a display). A copy that shows nothing gives way to another.
bool windowShows();

// Says the text to the player's screen reader, if one listens (politely, after what it is saying).
void announce(std::wstring_view text);

// The keyboard's focus goes past the window's controls: true when something
// around the window (a page's buttons) took it; false when there is nothing.
bool passFocusOn(bool forward);

// Plays a RIFF WAVE that the core has checked; waveId is its resource id or 0.
bool playWave(std::span<const std::uint8_t> wave, std::uint32_t waveId, unsigned flags);

std::uint32_t tickCount();
LocalTime localTime();

// The user's locales, best first ("de_DE.UTF-8", "pt-BR"); empty means the
// program's own language. Asked at every resource look-up, so keep it cheap.
std::vector<std::string> preferredLocales();

// ------------------------------------------------- the settings text

// What reading the stored settings text found.
struct StoredSettings {
    enum Outcome {
        missing,    // nothing is stored yet
        unchanged,  // the very text last read or written (only when the caller allows it)
        present,    // text holds the whole stored text
        unusable,   // longer than the limit, or not a text at all: keep it aside
        failed,     // the storage cannot be read now
    };
    Outcome outcome = missing;
    std::string text;
};

// Reads the settings text, never more than limit bytes of it. When
// unchangedWillDo is true, the host may answer unchanged instead of reading a
// text that it knows to be the one it last read or wrote.
StoredSettings readSettings(std::size_t limit, bool unchangedWillDo);

// Replaces the stored text whole; true once it is kept for good (a crash at
// any moment leaves the old text or the new one).
bool writeSettings(const std::string& text);

// Keeps the stored text aside under a new name, so that a damaged text is not
// lost and the next read finds nothing; false when it could not.
bool setSettingsAside();

// Tells the user that progress is not kept as it should be: it cannot be
// saved, or only part of the stored text could stay. The registry says each
// trouble once; what is a line of English for a log, and the host adds what it
// knows of the cause (the file, the system's error).
void settingsTrouble(const std::string& what);

// ---------------------------------------------- the one running copy

// True when another copy of the program runs with a window of this class and
// title. It only asks: the claim is taken by claimOneCopy.
bool anotherCopyRuns(std::wstring_view className, std::wstring_view title);

// Claims the one copy for this class and title, if this process has not yet,
// and starts answering other copies' requests; false when another copy holds
// the claim (a window is then not opened). Where no claim can be had at all,
// the copy runs: better two copies than none.
bool claimOneCopy(std::wstring_view className, std::wstring_view title);

// Gives the claim up; the last window has gone.
void releaseOneCopy();

// Asks the copy that holds the claim to bring its window to the front; gives
// up after about a second when it does not take the request.
bool askOtherCopyToRaise(std::wstring_view className, std::wstring_view title);

}  // namespace platform::host
