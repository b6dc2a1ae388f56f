// Runs the program on the headless host: nothing is shown and no input comes,
// so the title screen waits for ever. It only shows that the program starts
// where there is no display; end it with a signal.
#include "platform/window.h"

int main() { return gameMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW); }
