// The base of every screen: figures in stacking order, composed into a back
// buffer (the background opaque, the rest keyed on KEY_COLOUR), one dirty
// rectangle collecting every change, the stylus routed to the figures, and
// ticks fanned out to tickers with a self-paced refresh at most every 85 ms.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/picture.h"
#include "platform/resources.h"
#include "scene/FocusRing.h"
#include "scene/LinkedList.h"

namespace platform {
class Window;  // platform/window.h
}

class App;
class Figure;
class FigureListener;

// A pixel of exactly this colour is see-through in every figure but the background.
constexpr platform::Colour KEY_COLOUR = platform::rgb(246, 140, 197);

// How a screen sets a new figure up before adding it.
struct Placement {
    std::int32_t z = 10;
    bool enabled = false;
    bool visible = true;
    FigureListener* listener = nullptr;  // told of presses and releases when given
    std::optional<platform::Point> at;   // where the figure goes; where it is when not given
};

class Screen {
public:
    // Sized to the window's client area; the back buffer is not cleared.
    Screen(platform::Window* window, platform::Instance* instance, App* app);
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Ticks every ticker, then refreshes the dirty area if 85 ms have passed.
    virtual void tick(std::uint32_t now);
    // Releases the back buffer and empties both lists; destroys no figure.
    virtual ~Screen();
    // Paints into the window when this screen is active; otherwise nothing.
    virtual void refresh(bool all);
    // Recomposes every visible figure, then copies all or the dirty area to target.
    virtual void paint(platform::Picture& target, bool all);

    // Inserts the figure below every figure of equal or higher z.
    void addFigure(Figure* figure);
    // Takes the figure out and inserts it again by its current z, if it was in.
    void resortFigure(Figure* figure);
    // Reports a visible figure's bounds, takes it out, destroys it if asked to.
    void removeFigure(Figure* figure, bool destroy);
    // Destroys every figure from head to tail and empties the list.
    void destroyAllFigures();
    // Widens the dirty rectangle; a rectangle reaching off the screen is dropped.
    void addDirty(platform::Rect rectangle);
    // Gives the press to the topmost visible figure under (x, y), if enabled.
    void stylusDown(std::int32_t x, std::int32_t y);
    // Gives the release to every enabled figure under (x, y) and every enabled button.
    void stylusUp(std::int32_t x, std::int32_t y);

    // (0, 0, width, height).
    platform::Rect area() const { return {0, 0, width, height}; }

    // The control that a key names here: Enter and Space the focused control
    // (the first when the focus has gone beyond the window), other keys as the
    // screen says; none for a key that means nothing here.
    Figure* controlForKey(int virtualKey);
    // Moves the focus to the next (or previous) control that is shown and
    // enabled, past the ends only when wrap is true (else pastTheEnd).
    enum class FocusMove { moved, pastTheEnd, noControls };
    FocusMove moveFocus(bool forward, bool wrap);
    // The focus goes back to the screen's first control, with or without its ring.
    void resetFocus(bool ringShown);
    // The application has just made this screen the one shown; nothing by default.
    virtual void shown();

    // This is the screen being shown; written by the application object.
    bool active = false;
    // Where the keyboard's Enter and Space act; drawn once a key has been used.
    FocusRing focusRing{this};
    // Figures ticked on every tick, in order; each is also one of the figures.
    LinkedList<Figure*> tickers;
    // The module that figures load their bitmaps from.
    platform::Instance* instance;
    // The application object that created the screen; never used here.
    App* app;

protected:
    // Sets the figure's z, flags, listener and place, in that order, adds it and returns it.
    template <class Kind>
    Kind* place(Kind* figure, const Placement& placement) {
        placeFigure(figure, placement);
        return figure;
    }
    void placeFigure(Figure* figure, const Placement& placement);

    // The controls that Tab visits, in order; the first has the focus when the screen is shown.
    virtual std::vector<Figure*> focusOrder() const;
    // The control that a key other than Enter and Space names; none unless the screen says.
    virtual Figure* keyedControl(int virtualKey) const;

    // Asks the window to go: WM_DESTROY is posted and handled by the loop later.
    void closeWindow();

    // Whether (x, y) lies on the visible figure, both edges included.
    static bool hits(const Figure* figure, std::int32_t x, std::int32_t y);

    std::int32_t width = 0;
    std::int32_t height = 0;
    bool painting = false;
    // The one figure copied opaque; set by the concrete screen.
    Figure* background = nullptr;
    // Sorted by ascending z: head drawn underneath, tail on top.
    LinkedList<Figure*> figures;
    // The union of changes since the last paint; empty when left is -1.
    platform::Rect dirty{-1, -1, -1, -1};
    std::uint32_t lastRefresh = 0;
    platform::Window* window;
    platform::Picture backBuffer;
};
