// Window classes and the program's windows: creation with WM_CREATE, the
// invalid flag that becomes WM_PAINT, destruction, the default handling, and
// the canvases that stand for a window's device context.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/core/host.h"
#include "platform/core/idle_wait.h"
#include "platform/core/input.h"
#include "platform/core/resources_internal.h"
#include "platform/core/window_record.h"
#include "platform/formats/little_endian.h"
#include "platform/graphics/language_faces.h"
#include "platform/resources.h"

namespace platform {
namespace {

struct WindowTable {
    std::vector<WindowClass> classes;
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<std::unique_ptr<Window>> remotes;  // kept so handles stay valid
    Picture display{DISPLAY_WIDTH, DISPLAY_HEIGHT};
};

WindowTable& table() {
    static WindowTable instance;
    return instance;
}

const WindowClass* findClass(std::wstring_view name) {
    for (const auto& c : table().classes)
        if (c.name == name) return &c;
    return nullptr;
}

}  // namespace

namespace core {

bool isLiveWindow(const Window* window) {
    if (!window) return false;
    const auto& windows = table().windows;
    return std::any_of(windows.begin(), windows.end(),
                       [window](const auto& w) { return w.get() == window; });
}

std::uint32_t classStyleOf(const Window* window) {
    return isLiveWindow(window) ? window->classStyle : 0;
}

Window* inputWindow() {
    auto& windows = table().windows;
    return windows.empty() ? nullptr : windows.back().get();
}

Window* firstInvalidWindow() {
    for (auto& w : table().windows)
        if (w->invalid) return w.get();
    return nullptr;
}

Picture& display() { return table().display; }

void forgetWindows() {
    table().classes.clear();
    table().windows.clear();
    table().remotes.clear();
    table().display = Picture(DISPLAY_WIDTH, DISPLAY_HEIGHT);
}

}  // namespace core

bool registerClass(const WindowClass& windowClass) {
    if (!windowClass.procedure || windowClass.name.empty() || findClass(windowClass.name))
        return false;
    table().classes.push_back(windowClass);
    return true;
}

// The program's texts are drawn with the faces of the language its
// resources speak: that language's FACES list (face numbers, ending with 0)
// names its FACE resources, best first.
void core::useFacesOfTheLanguage() {
    std::vector<std::span<const std::uint8_t>> faces;
    const auto list = loadResource(nullptr, L"FACES", 1);
    for (std::size_t at = 0; at + 2 <= list.size(); at += 2) {
        const std::uint16_t number = formats::le16(&list[at]);
        if (number == 0) break;
        const auto face = loadResource(nullptr, L"FACE", number);
        if (!face.empty()) faces.push_back(face);
    }
    graphics::useLanguageFaces(std::move(faces));
}

Window* createWindow(std::wstring_view className, std::wstring_view title, std::uint32_t style,
                     Instance*) {
    const WindowClass* windowClass = findClass(className);
    if (!windowClass) return nullptr;
    // Another copy that started at the same moment may have the claim.
    if (!host::claimOneCopy(className, title)) return nullptr;
    auto window = std::make_unique<Window>();
    window->className = std::wstring(className);
    window->title = std::wstring(title);
    window->procedure = windowClass->procedure;
    window->classStyle = windowClass->style;
    window->visible = (style & WS_VISIBLE) != 0;
    Window* handle = window.get();
    table().windows.push_back(std::move(window));

    core::useFacesOfTheLanguage();
    host::windowCreated(title);
    if (handle->procedure(handle, WM_CREATE, 0, 0, {}) == -1) {
        destroyWindow(handle);
        return nullptr;
    }
    if (core::isLiveWindow(handle)) handle->invalid = true;
    return core::isLiveWindow(handle) ? handle : nullptr;
}

Window* findWindow(std::wstring_view className, std::wstring_view title) {
    for (auto& w : table().windows)
        if (w->className == className && w->title == title) return w.get();
    if (!host::anotherCopyRuns(className, title)) return nullptr;
    auto remote = std::make_unique<Window>();
    remote->className = std::wstring(className);
    remote->title = std::wstring(title);
    remote->remote = true;
    table().remotes.push_back(std::move(remote));
    return table().remotes.back().get();
}

bool setForegroundWindow(Window* window) {
    if (!window) return false;
    if (window->remote) return host::askOtherCopyToRaise(window->className, window->title);
    if (!core::isLiveWindow(window)) return false;
    host::raiseWindow();
    return true;
}

void showWindow(Window* window, int) {
    if (!core::isLiveWindow(window)) return;
    window->visible = true;
    host::windowShown();
}

void updateWindow(Window* window) {
    if (core::isLiveWindow(window) && window->invalid)
        window->procedure(window, WM_PAINT, 0, 0, {});
}

void moveWindow(Window* window, int x, int y, int width, int height, bool repaint) {
    if (!core::isLiveWindow(window)) return;
    // The window always covers the display; only a real change is a move.
    Rect wanted{x, y, x + width, y + height};
    Rect display{0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT};
    if (wanted == window->rect || !(wanted == display)) return;
    window->rect = wanted;
    if (repaint) window->invalid = true;
}

Rect clientRect(Window* window) {
    if (!core::isLiveWindow(window)) return {};
    return {0, 0, window->rect.width(), window->rect.height()};
}

void invalidateRect(Window* window, const Rect*, bool) {
    // The whole window is repainted whatever the area: the game's paint
    // always copies the back buffer whole when asked by the window.
    if (core::isLiveWindow(window)) window->invalid = true;
}

void destroyWindow(Window* window) {
    if (!core::isLiveWindow(window)) return;
    window->procedure(window, WM_DESTROY, 0, 0, {});
    auto& windows = table().windows;
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [window](const auto& w) { return w.get() == window; }),
                  windows.end());
    if (windows.empty()) host::releaseOneCopy();
}

std::intptr_t defWindowProc(Window* window, std::uint32_t message, std::uintptr_t, std::intptr_t, Point) {
    switch (message) {
    case WM_PAINT:
        if (core::isLiveWindow(window)) window->invalid = false;
        return 0;
    case WM_CLOSE:
        destroyWindow(window);
        return 0;
    default:
        return 0;
    }
}

Size displaySize() { return {DISPLAY_WIDTH, DISPLAY_HEIGHT}; }

WindowCanvas::WindowCanvas(Window* window) : window_(window), picture_(&core::display()) {}

WindowCanvas::~WindowCanvas() {
    host::present(*picture_);
    core::idleWait().activity(host::tickCount());
}

PaintCanvas::PaintCanvas(Window* window) : WindowCanvas(window) {
    if (core::isLiveWindow(window)) window->invalid = false;
}

PaintCanvas::~PaintCanvas() = default;

}  // namespace platform
