// Screen: z-ordered insertion, dirty merging, compositing into the back
// buffer and copying to the window, the refresh gate, and stylus routing.
#include "scene/Screen.h"

#include <algorithm>
#include <vector>

#include "platform/time_input.h"
#include "platform/window.h"
#include "scene/Figure.h"

namespace {
constexpr std::uint32_t REFRESH_INTERVAL = 85;
}

Screen::Screen(platform::Window* window, platform::Instance* instance, App* app)
    : instance(instance), app(app), window(window) {
    platform::Rect client = platform::clientRect(window);
    width = client.right - client.left;
    height = client.bottom - client.top;
    backBuffer = platform::Picture(width, height);
    painting = false;
    dirty = {-1, -1, -1, -1};
    active = false;
    lastRefresh = 0;
}

Screen::~Screen() {
    figures.clear();
    tickers.clear();
}

// A ticker may take itself out during its tick: the pass works from a copy
// and re-reads the count, so such a removal shortens this pass.
void Screen::tick(std::uint32_t now) {
    std::vector<Figure*> snapshot(static_cast<std::size_t>(tickers.count()));
    tickers.copyTo(snapshot.data());
    for (std::size_t i = 0; i < snapshot.size() && i < static_cast<std::size_t>(tickers.count()); ++i) {
        snapshot[i]->tick(now);
    }
    // Unsigned difference, so the gate keeps working when the counter wraps.
    if (now - lastRefresh >= REFRESH_INTERVAL) {
        lastRefresh = now;
        if (dirty.left != -1) refresh(false);
    }
}

void Screen::refresh(bool all) {
    if (!active) return;
    platform::WindowCanvas canvas(window);
    paint(canvas.picture(), all);
}

// Every visible figure is recomposed over the whole back buffer; only the copy
// to the target is limited. The partial copy takes one column and one row
// more than the dirty rectangle, whose right and bottom lie just outside.
void Screen::paint(platform::Picture& target, bool all) {
    if (painting) return;
    painting = true;
    for (const auto* node = figures.head(); node != nullptr; node = node->next) {
        Figure* figure = node->value;
        if (!figure->visible) continue;
        platform::Picture* picture = figure->imageDC();
        if (picture == nullptr) continue;
        std::int32_t fx = figure->getX();
        std::int32_t fy = figure->getY();
        std::int32_t fw = figure->getWidth();
        std::int32_t fh = figure->getHeight();
        if (figure == background) {
            platform::copy(backBuffer, fx, fy, fw, fh, *picture, 0, 0);
        } else {
            platform::copyKeyed(backBuffer, fx, fy, fw, fh, *picture, 0, 0, KEY_COLOUR);
        }
    }
    focusRing.drawInto(backBuffer);
    if (all) {
        platform::copy(target, 0, 0, width, height, backBuffer, 0, 0);
    } else {
        platform::copy(target, dirty.left, dirty.top, dirty.right - dirty.left + 1,
                       dirty.bottom - dirty.top + 1, backBuffer, dirty.left, dirty.top);
    }
    painting = false;
    dirty = {-1, -1, -1, -1};
}

// Among equal z the newcomer goes below the figures already there.
void Screen::addFigure(Figure* figure) {
    std::int32_t z = figure->getZ();
    std::int32_t position = 0;
    const auto* node = figures.head();
    while (node != nullptr && node->value->getZ() < z) {
        node = node->next;
        ++position;
    }
    // With no such figure the position is the count: the end of the list.
    figures.insertAt(figure, position);
}

void Screen::resortFigure(Figure* figure) {
    if (figures.remove(figure)) addFigure(figure);
}

void Screen::removeFigure(Figure* figure, bool destroy) {
    if (figure == nullptr) return;
    if (figure->visible) addDirty(figure->bounds());
    figures.remove(figure);
    if (destroy) delete figure;
}

void Screen::destroyAllFigures() {
    for (const auto* node = figures.head(); node != nullptr; node = node->next) delete node->value;
    figures.clear();
}

void Screen::addDirty(platform::Rect r) {
    if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) return;
    if (dirty.left == -1) {
        dirty = r;
        return;
    }
    dirty.left = std::min(dirty.left, r.left);
    dirty.top = std::min(dirty.top, r.top);
    dirty.right = std::max(dirty.right, r.right);
    dirty.bottom = std::max(dirty.bottom, r.bottom);
}

bool Screen::hits(const Figure* figure, std::int32_t x, std::int32_t y) {
    return figure->visible && figure->getX() <= x && x <= figure->getX() + figure->getWidth() &&
           figure->getY() <= y && y <= figure->getY() + figure->getHeight();
}

// The topmost hit figure takes the press, or swallows it when disabled. The
// walk ends right after the call, so the handler may change the figure list.
void Screen::stylusDown(std::int32_t x, std::int32_t y) {
    for (const auto* node = figures.tail(); node != nullptr; node = node->prev) {
        Figure* figure = node->value;
        if (!hits(figure, x, y)) continue;
        if (figure->enabled) figure->onPress(x, y);
        return;
    }
}

// Buttons hear every release, so one pressed and then slid off still lets go.
void Screen::stylusUp(std::int32_t x, std::int32_t y) {
    for (const auto* node = figures.tail(); node != nullptr; node = node->prev) {
        Figure* figure = node->value;
        if (!figure->enabled) continue;
        if (hits(figure, x, y) || figure->hearsEveryRelease()) {
            figure->onRelease(x, y);
        }
    }
}

void Screen::placeFigure(Figure* figure, const Placement& placement) {
    figure->setZ(placement.z);
    figure->enabled = placement.enabled;
    figure->setVisible(placement.visible);
    if (placement.listener) figure->addListener(placement.listener);
    if (placement.at) {
        figure->setX(placement.at->x);
        figure->setY(placement.at->y);
    }
    addFigure(figure);
}

Figure* Screen::controlForKey(int virtualKey) {
    if (virtualKey == platform::VK_RETURN || virtualKey == platform::VK_SPACE) {
        if (focusRing.focus() != nullptr) return focusRing.focus();
        // The focus went beyond the window: Enter and Space press the first control again.
        const std::vector<Figure*> order = focusOrder();
        if (!order.empty()) return order.front();
    }
    return keyedControl(virtualKey);
}

Screen::FocusMove Screen::moveFocus(bool forward, bool wrap) {
    const std::vector<Figure*> order = focusOrder();
    if (order.empty()) return FocusMove::noControls;
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t at = std::find(order.begin(), order.end(), focusRing.focus()) - order.begin();
    if (at == count) at = forward ? -1 : count;  // no focus: start before the first or after the last
    const std::ptrdiff_t step = forward ? 1 : -1;
    for (std::ptrdiff_t i = 1; i <= count; ++i) {
        const std::ptrdiff_t next = at + step * i;
        if ((next < 0 || next >= count) && !wrap) return FocusMove::pastTheEnd;
        Figure* candidate = order[static_cast<std::size_t>((next % count + count) % count)];
        if (candidate->visible && candidate->enabled) {
            focusRing.setFocus(candidate);
            return FocusMove::moved;
        }
    }
    return wrap ? FocusMove::moved : FocusMove::pastTheEnd;  // no control takes it now: it stays
}

void Screen::resetFocus(bool ringShown) {
    const std::vector<Figure*> order = focusOrder();
    focusRing.setFocus(order.empty() ? nullptr : order.front());
    focusRing.setShown(ringShown && !order.empty());
}

void Screen::shown() {}

std::vector<Figure*> Screen::focusOrder() const { return {}; }

Figure* Screen::keyedControl(int) const { return nullptr; }

void Screen::closeWindow() { platform::postMessage(window, platform::WM_DESTROY, 0, 0); }
