// The page's program: takes in the resources of the page's language, runs
// the game's entry, then tells the page that the game has ended (the exit
// icon), so it can say goodbye and offer another go.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "platform/core/resources_internal.h"
#include "platform/window.h"

EM_JS(void, horalia_web_ended, (int exitCode), { Module.horalia.ended(exitCode); });
// The language's resources that the page fetched beside the program (none for English).
EM_JS(int, horalia_web_language_pack_size, (), {
    const pack = Module.horalia.languagePack;
    return pack ? pack.length : 0;
});
EM_JS(void, horalia_web_language_pack_copy, (std::uint8_t* out),
      { HEAPU8.set(Module.horalia.languagePack, out); });

int main() {
    static std::vector<std::uint8_t> pack(static_cast<std::size_t>(horalia_web_language_pack_size()));
    if (!pack.empty()) {
        horalia_web_language_pack_copy(pack.data());
        platform::core::addResources(pack);
    }
    const int exitCode = gameMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW);
    horalia_web_ended(exitCode);
    return exitCode;
}
