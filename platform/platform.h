// The services that the game relies on from its host system: off-screen
// pictures and copies, shapes and text, resources, sound, time and stylus
// state, one window with a message queue, the shell, and the registry.
// Game code includes this header and nothing else from the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ---------------------------------------------------------------- basics

// A colour as red in the low byte, then green, then blue (the high byte is 0).
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Colour BLACK = rgb(0, 0, 0);
constexpr Colour WHITE = rgb(255, 255, 255);

// left, top, right, bottom; right and bottom lie just outside the area.
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    std::int32_t x = 0, y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t width = 0, height = 0;
    friend constexpr bool operator==(const Size&, const Size&) = default;
};

// The display of the handheld that the game is drawn for.
constexpr int DISPLAY_WIDTH = 240;
constexpr int DISPLAY_HEIGHT = 320;

// ---------------------------------------------------------------- pictures

// A 32-bit picture in memory, one Colour per pixel, rows top to bottom.
// It stands for a memory device context together with the bitmap selected
// into it. A new picture is black; a size of zero or less in either
// direction gives an empty picture.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    // Callers keep 0 <= x < width and 0 <= y < height.
    Colour pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void setPixel(int x, int y, Colour c) { pixels_[static_cast<std::size_t>(y) * width_ + x] = c; }
    Colour* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const Colour* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> pixels_;
};

// Copies a width x height block from source (sx, sy) to target (dx, dy).
// Both sides are clipped; nothing outside either picture is read or written.
void copy(Picture& target, int dx, int dy, int width, int height,
          const Picture& source, int sx, int sy);

// Like copy, but leaves out every source pixel exactly equal to key.
void copyKeyed(Picture& target, int dx, int dy, int width, int height,
               const Picture& source, int sx, int sy, Colour key);

// Fills the whole area of the rectangle, clipped to the picture.
void fillRect(Picture& target, Rect area, Colour colour);

// A pen for outlines and lines. A null pen draws nothing.
struct Pen {
    enum class Style { solid, null };
    Style style = Style::solid;
    int width = 1;
    Colour colour = BLACK;
};

// Draws connected line segments. A pen of width 1 or less draws one-pixel
// segments and leaves out the last point. Pens wider than one pixel have
// round ends and joins, centred on the line, like a geometric pen: they cover
// every pixel whose centre lies within width / 2 of a segment.
void polyline(Picture& target, std::span<const Point> points, const Pen& pen);

// Draws the ellipse that fits the box (right and bottom just outside it):
// filled with fill when given, then outlined with the pen centred on its edge.
void ellipse(Picture& target, Rect box, const Pen& pen, std::optional<Colour> fill);

// ---------------------------------------------------------------- text

constexpr std::uint8_t FF_SWISS = 0x20;
constexpr std::int32_t FW_BOLD = 700;

// The fields of the platform's logical-font record.
struct FontDescription {
    std::int32_t height = 0;  // > 0: cell height in pixels; < 0: character height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::wstring faceName;
};

// A font made from a description. Glyphs are drawn monochrome: every pixel
// is exactly the text colour or exactly the background colour.
class Font {
public:
    explicit Font(const FontDescription& description);
    ~Font();
    Font(Font&&) noexcept;
    Font& operator=(Font&&) noexcept;

    // The string's advance width by the font's cell height.
    Size extent(std::wstring_view text) const;

    // Draws one line of text centred in the box; the text's character cells
    // are filled with the background colour first.
    void drawCentred(Picture& target, Rect box, std::wstring_view text,
                     Colour textColour, Colour background) const;

    struct Face;

private:
    std::unique_ptr<Face> face_;
};

// ---------------------------------------------------------------- resources

// The program's module; its resources are compiled into the executable.
struct Instance;

// The running program's module (GetModuleHandle of none).
Instance* moduleHandle();

// A string-table entry, cut to fit a buffer of bufferChars characters
// (at most bufferChars - 1 characters). Empty when the entry is missing.
std::wstring loadString(Instance* module, std::uint32_t id, std::size_t bufferChars);

// A bitmap resource decoded to a picture; nullopt when it is missing or unreadable.
std::optional<Picture> loadBitmap(Instance* module, std::uint32_t id);

// The bytes of a resource of a named type ("WAVE"), valid for the life of the
// process. Empty when missing.
std::span<const std::uint8_t> loadResource(Instance* module, std::wstring_view type, std::uint32_t id);

// ---------------------------------------------------------------- sound

constexpr unsigned SND_SYNC = 0x0;    // return when the sound has ended
constexpr unsigned SND_ASYNC = 0x1;   // return at once
constexpr unsigned SND_MEMORY = 0x4;  // the sound is a RIFF WAVE in memory

// Plays a RIFF WAVE held in memory. A new sound ends the one playing. Without
// an audio device, or with data that is not a playable WAVE, nothing is
// played and false is returned.
bool playSound(std::span<const std::uint8_t> wave, unsigned flags);

// ---------------------------------------------------------------- time and input

// Milliseconds from an arbitrary start; wraps at 2^32.
std::uint32_t tickCount();

// The local date and time, as the platform's SYSTEMTIME record.
struct LocalTime {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};
LocalTime localTime();

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_CONTROL = 0x11;

// For VK_LBUTTON (the stylus): bit 15 set while it is down, bit 0 set when it
// went down since the last query; 0 when it is up and has not gone down.
std::int16_t asyncKeyState(int virtualKey);

// ---------------------------------------------------------------- windows and messages

class Window;

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

constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_DBLCLKS = 0x0008;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr int SW_SHOW = 5;

struct Message {
    Window* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;  // tick count when it was queued
};

// Packs a stylus point the way stylus messages carry it in lParam.
constexpr std::intptr_t pointParam(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFF) |
                                      ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16));
}

using WindowProcedure = std::intptr_t (*)(Window* window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

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
                            std::intptr_t lParam);

constexpr unsigned PM_NOREMOVE = 0x0;
constexpr unsigned PM_REMOVE = 0x1;

// Never blocks for long: when nothing is waiting it may wait about 1 ms for
// input, so that a loop of peeks does not keep a processor busy.
bool peekMessage(Message& message, unsigned removal);

// Waits for a message; false for WM_QUIT (its wParam is the exit code).
bool getMessage(Message& message);

// Posts a message behind the waiting ones; it is handled by the loop later,
// never inside this call. False when the window is unknown.
bool postMessage(Window* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

void postQuitMessage(int exitCode);

std::intptr_t dispatchMessage(const Message& message);

// Nothing to translate: the stylus and the accelerators are the only input.
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

// ---------------------------------------------------------------- registry

enum class ValueType : std::uint32_t { none = 0, text = 1, expandText = 2, binary = 3, dword = 4 };

struct ValueInfo {
    ValueType type = ValueType::none;
    std::uint32_t size = 0;  // bytes
};

enum class RegistryResult { ok, missing, moreData, failed };

// An open key under the current user. It is closed when it goes out of scope.
class RegistryKey {
public:
    // Opens the key, creating it (and its parents) when missing. nullopt when
    // it can be neither opened nor created.
    static std::optional<RegistryKey> createOrOpen(std::wstring_view subKey);

    // The type and size of a value, without reading it; nullopt when missing.
    std::optional<ValueInfo> queryInfo(std::wstring_view name) const;

    // Copies a value into the buffer. When the buffer is too small nothing is
    // copied and moreData is returned; info, when given, receives the type and
    // the value's size in either case.
    RegistryResult query(std::wstring_view name, std::span<std::uint8_t> buffer,
                         ValueInfo* info = nullptr) const;

    // Stores a value; it is on disk when this returns true.
    bool set(std::wstring_view name, ValueType type, std::span<const std::uint8_t> data);

    const std::wstring& path() const { return path_; }

private:
    explicit RegistryKey(std::wstring path) : path_(std::move(path)) {}
    std::wstring path_;
};

// ---------------------------------------------------------------- entry

}  // namespace platform

// The program's entry, defined by the game and called by the host's main with
// the module, no previous instance, an empty command line and the show
// command. Its result is the process's exit code.
int WinMain(platform::Instance* instance, platform::Instance* previous, const wchar_t* commandLine,
            int showCommand);
