// The window and its message queue: one top-level window with a procedure,
// posted and dispatched messages, accelerators, the canvases that draw into
// the display, the shell's hand-offs, and the program's entry.
#pragma once

// Rooms that only draw or keep data (figures, progress) define this, so that
// the compiler shows they never touch the window.
#ifdef HORALIA_NO_WINDOW
#error "this room does not use the window; include only the services it needs"
#endif

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.h"
#include "platform/resources.h"

namespace platform {

class Window;

// The message, class, window and peek constants keep the system's names and
// values. Where <windows.h> comes first (only the Windows host's own files
// include it), its macros of the same values stand in their place.
#ifndef WM_CREATE
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_SETTINGCHANGE = 0x001A;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
#endif

#ifndef CS_VREDRAW
constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_DBLCLKS = 0x0008;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr int SW_SHOW = 5;
#endif

struct Message {
    Window* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;  // tick count when it was queued
    Point point;             // where the stylus was, for the stylus messages
};

// A window's procedure gets each message's fields; point is the stylus
// position for the stylus messages and (0, 0) for the others.
using WindowProcedure = std::intptr_t (*)(Window* window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam, Point point);

struct WindowClass {
    std::uint32_t style = 0;
    WindowProcedure procedure = nullptr;
    Instance* instance = nullptr;
    std::wstring name;
};

// Registers a window class; false when the name is taken or the record is incomplete.
bool registerClass(const WindowClass& windowClass);

// Creates the top-level window of a registered class, the size of the display.
// WM_CREATE is sent to its procedure before this returns. Null on failure.
Window* createWindow(std::wstring_view className, std::wstring_view title, std::uint32_t style,
                     Instance* instance);

// A window of that class and title, in this process or in another one; null when none.
Window* findWindow(std::wstring_view className, std::wstring_view title);

// Asks the window, possibly another process's, to come to the front.
bool setForegroundWindow(Window* window);

void showWindow(Window* window, int showCommand);

// Sends WM_PAINT at once when the window has an invalid area.
void updateWindow(Window* window);

// The window always covers the display; moving only repaints when asked to.
void moveWindow(Window* window, int x, int y, int width, int height, bool repaint);

Rect clientRect(Window* window);

// Marks an area (all of the window when area is null) to be painted: a
// WM_PAINT follows when no other message is waiting.
void invalidateRect(Window* window, const Rect* area, bool erase);

// Sends WM_DESTROY to the window's procedure and then forgets the window.
void destroyWindow(Window* window);

std::intptr_t defWindowProc(Window* window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam, Point point);

#ifndef PM_NOREMOVE
constexpr unsigned PM_NOREMOVE = 0x0;
constexpr unsigned PM_REMOVE = 0x1;
#endif

// Never blocks for long: when nothing is waiting it may wait for input, 1 ms
// while anything moves (a frame drawn or input within 250 ms) and up to a
// second at rest, so that a loop of peeks does not keep a processor busy.
// Input ends the wait at once.
bool peekMessage(Message& message, unsigned removal);

// Waits for a message; false for WM_QUIT (its wParam is the exit code).
bool getMessage(Message& message);

// Posts a message behind the waiting ones; it is handled by the loop later,
// never inside this call. False when the window is unknown.
bool postMessage(Window* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

void postQuitMessage(int exitCode);

std::intptr_t dispatchMessage(const Message& message);

// Nothing to translate: the game reads which keys go down, never characters.
void translateMessage(const Message& message);

// A table of key combinations that become WM_COMMAND messages.
struct Accelerator {
    std::uint8_t flags = 0;  // FVIRTKEY 0x01, FNOINVERT 0x02, FSHIFT 0x04, FCONTROL 0x08, FALT 0x10
    std::uint16_t key = 0;
    std::uint16_t command = 0;
};
using AcceleratorTable = std::vector<Accelerator>;

AcceleratorTable loadAccelerators(Instance* module, std::uint32_t id);

// When the message is a key press of the table, sends WM_COMMAND with its
// command to the window and returns true; otherwise returns false.
bool translateAccelerator(Window* window, const AcceleratorTable& table, const Message& message);

// The display's picture, standing for a window's device context. Drawing
// into it shows on the screen when the canvas goes out of scope.
class WindowCanvas {
public:
    explicit WindowCanvas(Window* window);  // GetDC
    ~WindowCanvas();                        // ReleaseDC
    WindowCanvas(const WindowCanvas&) = delete;
    WindowCanvas& operator=(const WindowCanvas&) = delete;
    Picture& picture() { return *picture_; }

protected:
    Window* window_;
    Picture* picture_;
};

// The canvas of a WM_PAINT: it also marks the window's area as painted.
class PaintCanvas : public WindowCanvas {
public:
    explicit PaintCanvas(Window* window);  // BeginPaint
    ~PaintCanvas();                        // EndPaint
};

// GetDeviceCaps HORZRES and VERTRES.
Size displaySize();

// ---------------------------------------------------------------- shell

// The shell's activation record (its own size, the window that last had the
// focus, a word of flags).
struct ShellActivateInfo {
    std::uint32_t size = 12;
    Window* previousFocus = nullptr;
    std::uint32_t flags = 0;
};

constexpr std::uint32_t SHFS_HIDETASKBAR = 0x0002;
constexpr std::uint32_t SHFS_HIDESIPBUTTON = 0x0008;
constexpr std::uint32_t SHFS_HIDESTARTICON = 0x0020;

// Shell hand-offs. A host without a shell does nothing here.
void shellHandleActivate(Window* window, std::uintptr_t wParam, std::intptr_t lParam,
                         ShellActivateInfo& info, std::uint32_t flags);
void shellHandleSettingChange(Window* window, std::uintptr_t wParam, std::intptr_t lParam,
                              ShellActivateInfo& info);
void shellFullScreen(Window* window, std::uint32_t state);
// Keeps the soft input panel down while the game owns the screen.
void shellHideInputPanel(Window* window, int state);

}  // namespace platform

// The program's entry (the system's WinMain, under a name of its own so that
// it never meets the system's declaration), defined by the game and called by
// the host's main with the module, no previous instance, an empty command
// line and the show command. Its result is the process's exit code.
int gameMain(platform::Instance* instance, platform::Instance* previous, const wchar_t* commandLine,
            int showCommand);
