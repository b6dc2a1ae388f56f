// The base of every element a screen shows or routes the stylus to. A figure
// knows its place, size, stacking order and flags, reports every change of
// them to its screen as a dirty rectangle, and offers its picture to the
// screen's compositing; it never draws onto the window itself.
#pragma once

#include <cstdint>

#include "platform/picture.h"
#include "scene/FigureListener.h"
#include "scene/LinkedList.h"

namespace platform {
class Window;  // only the handle is kept; the figure never calls the window
}

class Screen;

class Figure {
public:
    // Hidden, disabled, at (0, 0), 0 x 0, z 10; reports (0, 0, 0, 0) dirty.
    // The owner inserts the figure into the screen with addFigure.
    Figure(Screen* screen, platform::Window* window);
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    // Called on every screen tick while the figure is one of its tickers.
    virtual void tick(std::uint32_t now);
    // Reports the old bounds dirty, changes the width, reports the new bounds.
    virtual void setWidth(std::int32_t w);
    // Reports the old bounds dirty, changes the height, reports the new bounds.
    virtual void setHeight(std::int32_t h);
    // Empties the listener list; does not leave the screen or report anything.
    virtual ~Figure();
    // The kind's name ("Figure", "Button", ...).
    virtual const wchar_t* typeName() const;
    // Whether the screen gives this figure every release while it is enabled,
    // wherever the stylus is lifted (buttons do, to let go of a press).
    virtual bool hearsEveryRelease() const;
    virtual std::int32_t getZ() const;
    // The picture to compose at (x, y); nullptr when there is nothing to draw.
    virtual platform::Picture* imageDC() = 0;
    // Changes z, re-sorts the figure within its screen, reports its bounds.
    virtual void setZ(std::int32_t z);
    // Tells every listener figurePressed (this, x, y).
    virtual void onPress(std::int32_t x, std::int32_t y);
    // Tells every listener figureReleased (this, x, y).
    virtual void onRelease(std::int32_t x, std::int32_t y);
    virtual std::int32_t getX() const;
    virtual std::int32_t getY() const;
    virtual std::int32_t getWidth() const;
    virtual std::int32_t getHeight() const;
    // Reports the old bounds dirty, moves the figure, reports the new bounds.
    virtual void setX(std::int32_t x);
    // Reports the old bounds dirty, moves the figure, reports the new bounds.
    virtual void setY(std::int32_t y);
    // Fills the figure-sized area at the picture's origin with KEY_COLOUR.
    virtual void eraseToKey(platform::Picture& picture);

    // Shows or hides; hiding also disables. Reports the bounds only on a change.
    void setVisible(bool v);
    // Hands the current bounds to the screen, visible or not.
    void markDirty();
    // (x, y, x + width, y + height) through the virtual getters.
    platform::Rect bounds() const;
    // Adds the listener at the end unless it is already there.
    void addListener(FigureListener* listener);
    // Takes the listener out; false when it was not there.
    bool removeListener(FigureListener* listener);

    // Read by everyone; changed only through setVisible.
    bool visible = false;
    // Written by the owner: the screen passes the stylus only to enabled figures.
    bool enabled = false;
    // A number the owner attaches and reads back; the figure never uses it.
    std::int32_t tag = 0;

protected:
    LinkedList<FigureListener*> listeners;
    std::int32_t z = 10;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    Screen* screen;
    platform::Window* window;

private:
    // Reports the old bounds, sets one of x, y, width, height, reports the new.
    void change(std::int32_t& field, std::int32_t value);
};
