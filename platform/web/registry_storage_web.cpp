// The settings text in the browser: the same text as the desktop's file,
// kept in localStorage under one key and replaced whole at every change. A
// text that cannot be read is kept under a key of its own with the time it
// was found. Storage that is missing or throws (private windows, quota,
// forbidden) reads as "cannot read" and refuses writes, which the game
// survives quietly, as it does a read-only disk.
#include <emscripten.h>

#include <string>
#include <utility>

#include "platform/core/host.h"

// The text lives under the page's one name for it, Module.horalia.STORAGE_KEY.
// The stored text's length in UTF-8 bytes; -1 when there is none, -2 when
// storage cannot be reached.
EM_JS(int, horalia_web_storage_length, (), {
    try {
        const text = localStorage.getItem(Module.horalia.STORAGE_KEY);
        return text === null ? -1 : lengthBytesUTF8(text);
    } catch (e) {
        return -2;
    }
});
EM_JS(void, horalia_web_storage_copy, (char* out, int size), {
    try {
        stringToUTF8(localStorage.getItem(Module.horalia.STORAGE_KEY) || "", out, size);
    } catch (e) {
    }
});
EM_JS(bool, horalia_web_storage_write, (const char* text), {
    try {
        localStorage.setItem(Module.horalia.STORAGE_KEY, UTF8ToString(text));
        return true;
    } catch (e) {
        return false;
    }
});
EM_JS(bool, horalia_web_storage_keep_damaged, (), {
    try {
        const pad = (n) => String(n).padStart(2, "0");
        const now = new Date();
        const stamp = "" + now.getFullYear() + pad(now.getMonth() + 1) + pad(now.getDate()) + "-" +
                      pad(now.getHours()) + pad(now.getMinutes()) + pad(now.getSeconds());
        const key = Module.horalia.STORAGE_KEY;
        let name = key + ".damaged-" + stamp;
        for (let n = 2; localStorage.getItem(name) !== null; ++n) name = key + ".damaged-" + stamp + "-" + n;
        localStorage.setItem(name, localStorage.getItem(key));
        localStorage.removeItem(key);
        return true;
    } catch (e) {
        return false;
    }
});

namespace platform::host {

StoredSettings readSettings(std::size_t limit, bool) {
    const int length = horalia_web_storage_length();
    if (length == -1) return {StoredSettings::missing, {}};
    if (length < 0) return {StoredSettings::failed, {}};
    if (static_cast<std::size_t>(length) > limit) return {StoredSettings::unusable, {}};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    horalia_web_storage_copy(text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return {StoredSettings::present, std::move(text)};
}

bool writeSettings(const std::string& text) { return horalia_web_storage_write(text.c_str()); }

bool setSettingsAside() { return horalia_web_storage_keep_damaged(); }

}  // namespace platform::host
