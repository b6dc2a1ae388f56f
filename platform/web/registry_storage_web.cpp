// The settings text in the browser: the same text as the desktop's file,
// kept by the page (horalia_page.js, its storage object) in localStorage and
// replaced whole at every change; a text that cannot be read is set aside by
// the page. Storage that is missing or throws (private windows, quota,
// forbidden) reads as "cannot read" and refuses writes, which the game
// survives as it does a read-only disk; the page tells the player once. The
// page also asks here what a progress file holds before the file may replace
// the progress.
#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/host.h"
#include "platform/formats/little_endian.h"
#include "platform/registry.h"
#include "platform/formats/registry_format.h"
#include "platform/registry/kept_document.h"

// The stored text's length in UTF-8 bytes; -1 when there is none, -2 when
// storage cannot be reached.
EM_JS(int, horalia_web_storage_length, (), {
    const text = Module.horalia.storage.read();
    return text === undefined ? -2 : text === null ? -1 : lengthBytesUTF8(text);
});
EM_JS(void, horalia_web_storage_copy, (char* out, int size),
      { stringToUTF8(Module.horalia.storage.read() || "", out, size); });
EM_JS(bool, horalia_web_storage_write, (const char* text),
      { return Module.horalia.storage.write(UTF8ToString(text)); });
EM_JS(bool, horalia_web_storage_set_aside, (), { return Module.horalia.storage.setAside(); });
// The text of a progress file that the page is about to load.
EM_JS(int, horalia_web_file_length, (), { return lengthBytesUTF8(Module.horalia.fileText); });
EM_JS(void, horalia_web_file_copy, (char* out, int size), { stringToUTF8(Module.horalia.fileText, out, size); });

namespace {

std::string copied(int length, void (*copy)(char*, int)) {
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    copy(text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// A number of the progress as the game reads it: a DWORD, or text of at most
// nine characters that starts with a decimal number; lowest when missing or
// outside lowest..highest.
std::int32_t progressNumber(const platform::registry::Key* key, std::wstring_view name, std::int32_t lowest,
                            std::int32_t highest) {
    const platform::registry::Value* value = key ? key->find(name) : nullptr;
    if (!value) return lowest;
    const std::vector<std::uint8_t>& data = value->data;
    long number = lowest;
    if (value->type == static_cast<std::uint32_t>(platform::ValueType::dword) && data.size() == 4) {
        number = static_cast<std::int32_t>(platform::formats::le32(data.data()));
    } else {
        wchar_t text[10] = {};
        for (std::size_t i = 0, length = 0; i + 1 < data.size(); i += 2) {
            const auto unit = static_cast<wchar_t>(platform::formats::le16(data.data() + i));
            if (unit == 0) break;
            if (length == 9) return lowest;
            text[length++] = unit;
        }
        int read = 0;
        if (std::swscanf(text, L"%d", &read) == 1) number = read;
    }
    return number >= lowest && number <= highest ? static_cast<std::int32_t>(number) : lowest;
}

}  // namespace

namespace platform::host {

StoredSettings readSettings(std::size_t limit, bool) {
    const int length = horalia_web_storage_length();
    if (length == -1) return {StoredSettings::missing, {}};
    if (length < 0) return {StoredSettings::failed, {}};
    if (static_cast<std::size_t>(length) > limit) return {StoredSettings::unusable, {}};
    return {StoredSettings::present, copied(length, horalia_web_storage_copy)};
}

bool writeSettings(const std::string& text) { return horalia_web_storage_write(text.c_str()); }

bool setSettingsAside() { return horalia_web_storage_set_aside(); }

// The page tells the player itself when its storage fails; the rest is for
// the console.
void settingsTrouble(const std::string& what) { std::fprintf(stderr, "horalia: %s\n", what.c_str()); }

}  // namespace platform::host

// What the progress file in Module.horalia.fileText would give the game:
// level * 1000000 + score, read as the game reads them; -1 when the game
// could not read the text at all (it would set it aside and start afresh).
extern "C" EMSCRIPTEN_KEEPALIVE int horalia_web_file_progress() {
    using namespace platform::registry;
    const int length = horalia_web_file_length();
    if (static_cast<std::size_t>(length) > KeptDocument::MAX_TEXT_SIZE) return -1;
    std::optional<Document> document = parseDocument(copied(length, horalia_web_file_copy));
    if (!document) return -1;
    const Key* key = document->find(L"HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia");
    return progressNumber(key, L"level", 1, 10) * 1000000 + progressNumber(key, L"score", 0, 999999);
}
