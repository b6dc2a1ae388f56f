// Runs the program on the headless host: useful to start the whole program
// where there is no display; it runs until the program ends itself.
#include "platform/platform.h"

int main() { return WinMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW); }
