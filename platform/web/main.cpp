// The page's program: runs the game's entry, then tells the page that the
// game has ended (the exit icon), so it can say goodbye and offer another go.
#include <emscripten.h>

#include "platform/window.h"

EM_JS(void, horalia_web_ended, (int exitCode), { Module.horalia.ended(exitCode); });

int main() {
    const int exitCode = gameMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW);
    horalia_web_ended(exitCode);
    return exitCode;
}
