// The main window: refuses a second copy, covers the display, creates the
// application after the window has its full size, and hands each message to
// the current screen or to the shell.
#include "app/MainWindow.h"

#include "app/App.h"
#include "resources/resource_ids.h"
#include "scene/Screen.h"

App* application = nullptr;
std::int32_t screenWidth = 0;
std::int32_t screenHeight = 0;
platform::ShellActivateInfo shellActivateInfo;

namespace {

constexpr std::size_t NAME_BUFFER = 100;

}  // namespace

void registerMainClass(platform::Instance* instance, const std::wstring& className) {
    platform::WindowClass windowClass;
    windowClass.style = platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS;
    windowClass.procedure = windowProcedure;
    windowClass.instance = instance;
    windowClass.name = className;
    platform::registerClass(windowClass);
}

bool createMainWindow(platform::Instance* instance, int showCommand) {
    const std::wstring className = platform::loadString(instance, IDS_CLASS_NAME, NAME_BUFFER);
    const std::wstring title = platform::loadString(instance, IDS_APP_TITLE, NAME_BUFFER);

    if (platform::Window* running = platform::findWindow(className, title)) {
        platform::setForegroundWindow(running);
        return false;
    }
    registerMainClass(instance, className);
    platform::Window* window = platform::createWindow(className, title, platform::WS_VISIBLE, instance);
    if (!window) return false;

    // The window already covers the display, so every screen's back buffer does too.
    application = new App(window, instance);
    platform::showWindow(window, showCommand);
    platform::updateWindow(window);
    return true;
}

std::intptr_t windowProcedure(platform::Window* window, std::uint32_t message,
                              std::uintptr_t wParam, std::intptr_t lParam, platform::Point point) {
    switch (message) {
    case platform::WM_CREATE: {
        shellActivateInfo = platform::ShellActivateInfo{};
        const platform::Size display = platform::displaySize();
        screenWidth = display.width;
        screenHeight = display.height;
        platform::moveWindow(window, 0, 0, screenWidth, screenHeight, true);
        return 0;
    }
    case platform::WM_DESTROY:
        platform::postQuitMessage(0);
        delete application;
        application = nullptr;
        return 0;
    case platform::WM_ACTIVATE:
        platform::shellHandleActivate(window, wParam, lParam, shellActivateInfo, 0);
        return 0;
    case platform::WM_SIZE:
        return 0;
    case platform::WM_PAINT:
        // The shell's own controls stay hidden whenever the game repaints.
        platform::shellHideInputPanel(window, 2);
        platform::shellFullScreen(window, platform::SHFS_HIDESIPBUTTON);
        platform::shellFullScreen(window, platform::SHFS_HIDETASKBAR);
        platform::shellFullScreen(window, platform::SHFS_HIDESTARTICON);
        platform::moveWindow(window, 0, 0, screenWidth, screenHeight, true);
        if (application && application->currentScreen->active) {
            platform::PaintCanvas canvas(window);
            application->currentScreen->paint(canvas.picture(), true);
        }
        return 0;
    case platform::WM_SETTINGCHANGE:
        platform::shellHandleSettingChange(window, wParam, lParam, shellActivateInfo);
        return 0;
    case platform::WM_LBUTTONDOWN:
        if (application) application->currentScreen->stylusDown(point.x, point.y);
        return 0;
    case platform::WM_LBUTTONUP:
        if (application) application->currentScreen->stylusUp(point.x, point.y);
        return 0;
    case platform::WM_KEYDOWN:
        if (application) application->keyboard.keyDown(*application->currentScreen, static_cast<int>(wParam));
        return 0;
    case platform::WM_KEYUP:
        if (application) application->keyboard.keyUp(static_cast<int>(wParam));
        return 0;
    default:
        return platform::defWindowProc(window, message, wParam, lParam, point);
    }
}
