// The browser host. The page (page/horalia_page.js) owns the canvas, the
// pointer, the clock and Web Audio; this side hands it the display picture
// and the decoded sounds and takes its input from a queue. The game's loop
// blocks as on the desktop: where it would wait, it is suspended (Asyncify)
// until the page's next animation frame, so the browser stays responsive and
// the page decides when frames run (never while the tab is hidden, and not at
// all once nothing has changed for a while).
#include <emscripten.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/formats/unicode.h"
#include "platform/formats/wave_decoder.h"
#include "platform/random.h"

// The page's side; each call reaches the object that the page puts in
// Module.horalia before the program starts.
EM_JS(void, horalia_web_present, (const void* pixels, int width, int height),
      { Module.horalia.present(HEAPU8.subarray(pixels, pixels + width * height * 4), width, height); });
// The code of one of the page's input kinds, by its name (INPUT in the page).
EM_JS(int, horalia_web_input_kind, (const char* name), { return Module.horalia.INPUT[UTF8ToString(name)]; });
EM_JS(int, horalia_web_take_input, (int* detail), {
    const event = Module.horalia.takeInput();
    if (!event) return 0;
    HEAP32[detail >> 2] = event[1];
    HEAP32[(detail >> 2) + 1] = event[2];
    return event[0];
});
EM_JS(double, horalia_web_frame_elapsed, (), { return Module.horalia.frameElapsed(); });
EM_ASYNC_JS(void, horalia_web_next_frame, (), { await Module.horalia.nextFrame(); });
EM_JS(double, horalia_web_ticks, (), { return Module.horalia.ticks(); });
EM_JS(void, horalia_web_local_time, (std::uint16_t* out), {
    const now = new Date();
    const fields = [now.getFullYear(), now.getMonth() + 1, now.getDay(), now.getDate(), now.getHours(),
                    now.getMinutes(), now.getSeconds(), now.getMilliseconds()];
    for (let i = 0; i < fields.length; ++i) HEAPU16[(out >> 1) + i] = fields[i];
});
// The browser's languages, best first, joined by commas ("pt-BR,pt,en").
EM_JS(int, horalia_web_languages_length, (), { return lengthBytesUTF8((navigator.languages || []).join(",")); });
EM_JS(void, horalia_web_languages_copy, (char* out, int size),
      { stringToUTF8((navigator.languages || []).join(","), out, size); });
// The page's live region says the text; the page's buttons take the focus.
EM_JS(void, horalia_web_announce, (const char* text), { Module.horalia.announce(UTF8ToString(text)); });
EM_JS(bool, horalia_web_pass_focus_on, (bool forward), { return Module.horalia.passFocusOn(forward); });
EM_JS(bool, horalia_web_play, (const std::int16_t* samples, int count, int channels, int rate, int key), {
    return Module.horalia.play(HEAP16.subarray(samples >> 1, (samples >> 1) + count), channels, rate, key);
});

namespace platform::host {
namespace {

// A frame that has run this long hands the browser back its thread even when
// the queue still holds messages.
constexpr double FRAME_BUDGET_MS = 100;

// The page's input kinds, as the page names them.
struct InputKinds {
    int stylusDown = horalia_web_input_kind("stylusDown");
    int stylusUp = horalia_web_input_kind("stylusUp");
    int keyDown = horalia_web_input_kind("keyDown");
    int keyUp = horalia_web_input_kind("keyUp");
};

// Hands the page's queued input, [kind, a, b], to the core.
void takeInput() {
    static const InputKinds kinds;
    int detail[2] = {0, 0};
    while (int kind = horalia_web_take_input(detail)) {
        if (kind == kinds.stylusDown) core::stylusDown(detail[0], detail[1]);
        else if (kind == kinds.stylusUp) core::stylusUp(detail[0], detail[1]);
        else if (kind == kinds.keyDown) core::key(detail[0], true);
        else if (kind == kinds.keyUp) core::key(detail[0], false);
    }
}

}  // namespace

// Waiting of any length ends the frame: the loop resumes at the next one.
void waitForEvents(int timeoutMs) {
    takeInput();
    if (timeoutMs > 0 || horalia_web_frame_elapsed() > FRAME_BUDGET_MS) {
        horalia_web_next_frame();
        takeInput();
    }
}

void present(const Picture& display) { horalia_web_present(display.row(0), display.width(), display.height()); }

// The page is the window: it exists before the program starts.
void windowCreated(std::wstring_view) {}
void windowShown() {}
void raiseWindow() {}
bool windowShows() { return true; }  // the page is the window

void announce(std::wstring_view text) { horalia_web_announce(formats::utf8(text).c_str()); }

bool passFocusOn(bool forward) { return horalia_web_pass_focus_on(forward); }

// Sounds are decoded once by the core's reader and handed to Web Audio. A
// sound to be played to the end does not hold the loop here: the desktop
// waits so that a click is heard before its window goes, but the page and
// its audio stay after the game ends, and the clicks played that way last
// 27 ms.
bool playWave(std::span<const std::uint8_t> wave, std::uint32_t, unsigned) {
    static std::map<const std::uint8_t*, formats::DecodedWave> decoded;
    auto found = decoded.find(wave.data());
    if (found == decoded.end()) {
        auto samples = formats::decodeWave(wave);
        if (!samples || samples->samples.empty()) return false;
        found = decoded.emplace(wave.data(), std::move(*samples)).first;
    }
    const formats::DecodedWave& sound = found->second;
    return horalia_web_play(sound.samples.data(), static_cast<int>(sound.samples.size()), sound.channels,
                            sound.rate, static_cast<int>(reinterpret_cast<std::uintptr_t>(wave.data())));
}

std::uint32_t tickCount() { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(horalia_web_ticks())); }

// Read once: resources are looked up often, and the page starts afresh when
// the browser's languages change.
std::vector<std::string> preferredLocales() {
    static const std::vector<std::string> locales = [] {
        std::vector<std::string> list;
        const int length = horalia_web_languages_length();
        std::string joined(static_cast<std::size_t>(length) + 1, '\0');
        horalia_web_languages_copy(joined.data(), length + 1);
        joined.resize(static_cast<std::size_t>(length));
        for (std::size_t start = 0; start < joined.size();) {
            const std::size_t comma = std::min(joined.find(',', start), joined.size());
            if (comma > start) list.push_back(joined.substr(start, comma - start));
            start = comma + 1;
        }
        return list;
    }();
    return locales;
}

LocalTime localTime() {
    std::uint16_t f[8] = {};
    horalia_web_local_time(f);
    return LocalTime{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
}

}  // namespace platform::host

// For the browser test (the page's horaliaPage.seedRandom): the questions
// from here on are drawn from this seed, as the headless host draws them, so
// that both hosts can be shown the same question.
extern "C" EMSCRIPTEN_KEEPALIVE void horalia_web_seed_random(std::uint32_t seed) { platform::seedRandom(seed); }
