// The Windows host: one top-level window that shows the 240 x 320 display
// scaled by a whole factor (2x where it fits, crisp, centred), the mouse, pen
// and touch as the stylus, the keys the other hosts pass, the system's sound, tick count, local
// time and UI languages. It sleeps in MsgWaitForMultipleObjectsEx between
// messages, so a program at rest costs nothing.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/formats/unicode.h"
#include "platform/win32/win32.h"
#include "resources/resource_ids.h"

namespace platform::host {
namespace {

constexpr int START_SCALE = 2;
constexpr COLORREF BORDER = RGB(24, 24, 32);

struct Desktop {
    HWND window = nullptr;
    std::vector<std::uint32_t> pixels;  // the display as the system's DIB wants it
    bool stylusDown = false;
};

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

// Where the display lies in the client area: the largest whole scale that fits.
RECT displayArea(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int scale = std::max(1, static_cast<int>(std::min(client.right / DISPLAY_WIDTH,
                                                            client.bottom / DISPLAY_HEIGHT)));
    const int w = DISPLAY_WIDTH * scale, h = DISPLAY_HEIGHT * scale;
    const int x = std::max(0, static_cast<int>(client.right - w) / 2);
    const int y = std::max(0, static_cast<int>(client.bottom - h) / 2);
    return RECT{x, y, x + w, y + h};
}

// Client pixels to display pixels; false when the point is outside the display.
bool toDisplay(HWND window, POINT point, int& x, int& y) {
    const RECT area = displayArea(window);
    const int scale = (area.right - area.left) / DISPLAY_WIDTH;
    const bool inside = PtInRect(&area, point) != 0;
    x = std::clamp(static_cast<int>(point.x - area.left) / scale, 0, DISPLAY_WIDTH - 1);
    y = std::clamp(static_cast<int>(point.y - area.top) / scale, 0, DISPLAY_HEIGHT - 1);
    return inside;
}

void paint(HWND window, HDC dc) {
    auto& d = desktop();
    RECT client{};
    GetClientRect(window, &client);
    const RECT area = displayArea(window);
    // The border around the display, without touching the display itself.
    HBRUSH border = CreateSolidBrush(BORDER);
    const RECT bands[4] = {{0, 0, client.right, area.top},
                           {0, area.bottom, client.right, client.bottom},
                           {0, area.top, area.left, area.bottom},
                           {area.right, area.top, client.right, area.bottom}};
    for (const RECT& band : bands)
        if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, border);
    DeleteObject(border);
    if (d.pixels.empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = DISPLAY_WIDTH;
    info.bmiHeader.biHeight = -DISPLAY_HEIGHT;  // top-down rows, as the picture keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);  // whole factors: every pixel a crisp square
    StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0,
                  DISPLAY_WIDTH, DISPLAY_HEIGHT, d.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void press(HWND window, POINT point) {
    int x = 0, y = 0;
    // Presses outside the display belong to the border around it.
    if (!toDisplay(window, point, x, y)) return;
    desktop().stylusDown = true;
    SetCapture(window);
    core::stylusDown(x, y);
}

void release(HWND window, POINT point) {
    // A release always ends a press, even outside the display.
    auto& d = desktop();
    if (!d.stylusDown) return;
    int x = 0, y = 0;
    toDisplay(window, point, x, y);
    d.stylusDown = false;
    if (GetCapture() == window) ReleaseCapture();
    core::stylusUp(x, y);
}

// The keys the game knows, as the other hosts pass them; the keypad's digits
// are the main keys' (only while Num Lock gives them). 0 for the others.
int gameKey(WPARAM key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return static_cast<int>(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<int>('0' + (key - VK_NUMPAD0));
    switch (key) {
    case VK_CONTROL: case VK_SHIFT: case VK_TAB: case VK_RETURN: case VK_SPACE: case VK_ESCAPE:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        return static_cast<int>(key);
    default:
        return 0;
    }
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_CLOSE:
        // The game decides how to end; its window goes with the process.
        core::closeRequested();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        press(window, at);
        return 0;
    case WM_LBUTTONUP:
        release(window, at);
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse mid-press: the stylus is lifted where it is.
        if (desktop().stylusDown && reinterpret_cast<HWND>(lParam) != window) {
            POINT where{};
            GetCursorPos(&where);
            ScreenToClient(window, &where);
            release(window, where);
        }
        return 0;
    case WM_POINTERDOWN:
    case WM_POINTERUP: {
        // Pen and touch; the mouse keeps its own messages. The first contact only.
        if (!IS_POINTER_PRIMARY_WPARAM(wParam)) return 0;
        POINT client = at;  // screen coordinates
        ScreenToClient(window, &client);
        if (message == WM_POINTERDOWN) press(window, client);
        else release(window, client);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        // A held key's repeats are not new presses.
        if (message == WM_KEYDOWN && (lParam & (1L << 30))) return 0;
        if (const int key = gameKey(wParam)) core::key(key, message == WM_KEYDOWN);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The frame around a client area of the display's size at this scale.
SIZE frameFor(int scale) {
    RECT rect{0, 0, DISPLAY_WIDTH * scale, DISPLAY_HEIGHT * scale};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void waitForEvents(int timeoutMs) {
    // Any input, a sent message included, ends the wait at once.
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs),
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void present(const Picture& display) {
    auto& d = desktop();
    // The picture keeps red in the low byte; the system's DIB wants blue there.
    d.pixels.resize(static_cast<std::size_t>(DISPLAY_WIDTH) * DISPLAY_HEIGHT);
    for (int y = 0; y < DISPLAY_HEIGHT; ++y) {
        const std::uint32_t* row = display.row(y);
        std::uint32_t* out = d.pixels.data() + static_cast<std::size_t>(y) * DISPLAY_WIDTH;
        for (int x = 0; x < DISPLAY_WIDTH; ++x)
            out[x] = ((row[x] & 0xFF) << 16) | (row[x] & 0xFF00) | ((row[x] >> 16) & 0xFF);
    }
    if (!d.window) return;
    HDC dc = GetDC(d.window);
    paint(d.window, dc);
    ReleaseDC(d.window, dc);
}

void windowCreated(std::wstring_view title) {
    auto& d = desktop();
    if (d.window) return;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = win32::windowClassName();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_HORALIA));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = className.c_str();
    RegisterClassExW(&windowClass);

    // 2x where it fits the desktop's work area, else the largest whole factor that does.
    RECT work{0, 0, DISPLAY_WIDTH * START_SCALE, DISPLAY_HEIGHT * START_SCALE};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int scale = START_SCALE;
    while (scale > 1 && (frameFor(scale).cx > work.right - work.left ||
                         frameFor(scale).cy > work.bottom - work.top))
        --scale;
    const SIZE frame = frameFor(scale);
    const std::wstring caption(title);
    d.window = CreateWindowExW(0, className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, instance, nullptr);
}

void windowShown() {
    HWND window = desktop().window;
    if (!window) return;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

void raiseWindow() {
    HWND window = desktop().window;
    if (!window) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

// A window of the system's own is seen on its desktop, or once it is raised.
bool windowShows() { return desktop().window != nullptr; }

// No screen reader hears the window yet (UI Automation's notifications could
// carry the texts), and nothing around it takes the keyboard's focus: the
// game keeps it and wraps around.
void announce(std::wstring_view) {}
bool passFocusOn(bool) { return false; }

bool playWave(std::span<const std::uint8_t> wave, std::uint32_t, unsigned flags) {
    // From memory, with no default beep when the data cannot be played; the
    // system opens the sound device for the sound alone and closes it after.
    const DWORD mode = SND_MEMORY | SND_NODEFAULT | ((flags & SND_ASYNC) ? SND_ASYNC : SND_SYNC);
    return PlaySoundW(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, mode) != FALSE;
}

std::uint32_t tickCount() { return GetTickCount(); }

LocalTime localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay,
                     now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

// The user's UI languages, best first ("de-DE", "en-US").
std::vector<std::string> preferredLocales() {
    ULONG count = 0, size = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) return {};
    std::wstring names(size, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) return {};
    std::vector<std::string> locales;
    for (const wchar_t* name = names.c_str(); *name; name += wcslen(name) + 1)
        locales.push_back(formats::utf8(name));
    return locales;
}

}  // namespace platform::host
