// For the Wine smoke test (wine_smoke.py): finds the game's window by its
// class and title, waiting up to ten seconds, and prints where the display's
// top-left pixel is on the screen and its scale ("x y scale"), so that the
// test can tap display points and cut the display out of a screenshot.
// Exits 1 when no window appears.
#include <windows.h>

#include <algorithm>
#include <cstdio>

int main() {
    for (int tries = 0; tries < 200; ++tries) {
        HWND window = FindWindowW(L"VARDO", L"Horalia");
        if (window && IsWindowVisible(window)) {
            RECT client{};
            GetClientRect(window, &client);
            // The largest whole scale that fits, centred, as a person sees it.
            const int scale = std::max(1L, std::min(client.right / 240, client.bottom / 320));
            POINT origin{(client.right - 240 * scale) / 2, (client.bottom - 320 * scale) / 2};
            ClientToScreen(window, &origin);
            std::printf("%ld %ld %d\n", origin.x, origin.y, scale);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
