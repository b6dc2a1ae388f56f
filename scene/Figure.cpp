// Figure: dirty reporting for every change of place, size, order and
// visibility, and listener notification over a snapshot of the list.
#include "scene/Figure.h"

#include <vector>

#include "scene/Screen.h"

Figure::Figure(Screen* screen, platform::Window* window) : screen(screen), window(window) {
    setZ(10);
}

Figure::~Figure() { listeners.clear(); }

void Figure::tick(std::uint32_t) {}

void Figure::change(std::int32_t& field, std::int32_t value) {
    screen->addDirty(bounds());
    field = value;
    markDirty();
}

void Figure::setWidth(std::int32_t w) { change(width, w); }

void Figure::setHeight(std::int32_t h) { change(height, h); }

const wchar_t* Figure::typeName() const { return L"Figure"; }

bool Figure::hearsEveryRelease() const { return false; }

std::int32_t Figure::getZ() const { return z; }

void Figure::setZ(std::int32_t newZ) {
    z = newZ;
    screen->resortFigure(this);
    markDirty();
}

// Notifies from a copy of the list, re-reading the count before each call:
// a listener removed during the pass shortens it, one added is not called.
void Figure::onPress(std::int32_t px, std::int32_t py) {
    std::vector<FigureListener*> snapshot(static_cast<std::size_t>(listeners.count()));
    listeners.copyTo(snapshot.data());
    for (std::size_t i = 0; i < snapshot.size() && i < static_cast<std::size_t>(listeners.count()); ++i) {
        snapshot[i]->figurePressed(this, px, py);
    }
}

void Figure::onRelease(std::int32_t px, std::int32_t py) {
    std::vector<FigureListener*> snapshot(static_cast<std::size_t>(listeners.count()));
    listeners.copyTo(snapshot.data());
    for (std::size_t i = 0; i < snapshot.size() && i < static_cast<std::size_t>(listeners.count()); ++i) {
        snapshot[i]->figureReleased(this, px, py);
    }
}

std::int32_t Figure::getX() const { return x; }
std::int32_t Figure::getY() const { return y; }
std::int32_t Figure::getWidth() const { return width; }
std::int32_t Figure::getHeight() const { return height; }

void Figure::setX(std::int32_t newX) { change(x, newX); }

void Figure::setY(std::int32_t newY) { change(y, newY); }

// Coordinates are the picture's own, not the screen's.
void Figure::eraseToKey(platform::Picture& picture) {
    platform::fillRect(picture, {0, 0, getWidth(), getHeight()}, KEY_COLOUR);
}

void Figure::setVisible(bool v) {
    if (v == visible) return;
    visible = v;
    if (!v) enabled = false;
    markDirty();
}

void Figure::markDirty() { screen->addDirty(bounds()); }

platform::Rect Figure::bounds() const {
    return {getX(), getY(), getX() + getWidth(), getY() + getHeight()};
}

void Figure::addListener(FigureListener* listener) { listeners.appendIfAbsent(listener); }

bool Figure::removeListener(FigureListener* listener) { return listeners.remove(listener); }
