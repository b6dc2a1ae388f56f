// The focus ring: a dark blue frame two pixels wide, a pixel clear of the
// control, edged outside with white so that it stands out on the sky, the
// grass and the white panels alike.
#include "scene/FocusRing.h"

#include <algorithm>

#include "scene/Figure.h"
#include "scene/Screen.h"

namespace {

constexpr platform::Colour RING_COLOUR = platform::rgb(16, 32, 112);
constexpr platform::Colour EDGE_COLOUR = platform::WHITE;
constexpr int GAP = 1;
constexpr int RING_WIDTH = 2;
constexpr int EDGE_WIDTH = 1;

platform::Rect grown(platform::Rect r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

// A frame of the given width just inside the rectangle's edges.
void frame(platform::Picture& picture, platform::Rect r, int width, platform::Colour colour) {
    platform::fillRect(picture, {r.left, r.top, r.right, r.top + width}, colour);
    platform::fillRect(picture, {r.left, r.bottom - width, r.right, r.bottom}, colour);
    platform::fillRect(picture, {r.left, r.top, r.left + width, r.bottom}, colour);
    platform::fillRect(picture, {r.right - width, r.top, r.right, r.bottom}, colour);
}

}  // namespace

FocusRing::FocusRing(Screen* screen) : screen(screen) {}

void FocusRing::setFocus(Figure* figure) {
    if (figure == focused) return;
    markDirty();
    focused = figure;
    markDirty();
}

void FocusRing::setShown(bool shown) {
    if (shown == ringShown) return;
    ringShown = shown;
    markDirty();
}

void FocusRing::drawInto(platform::Picture& picture) const {
    if (!ringShown || focused == nullptr || !focused->visible) return;
    const platform::Rect outer = grown(focused->bounds(), GAP + RING_WIDTH + EDGE_WIDTH);
    frame(picture, outer, EDGE_WIDTH, EDGE_COLOUR);
    frame(picture, grown(outer, -EDGE_WIDTH), RING_WIDTH, RING_COLOUR);
}

// Clipped, so that the screen takes the area even beside its edges.
platform::Rect FocusRing::area() const {
    const platform::Rect outer = grown(focused->bounds(), GAP + RING_WIDTH + EDGE_WIDTH);
    const platform::Rect whole = screen->area();
    return {std::max(outer.left, whole.left), std::max(outer.top, whole.top), std::min(outer.right, whole.right),
            std::min(outer.bottom, whole.bottom)};
}

void FocusRing::markDirty() const {
    if (ringShown && focused != nullptr) screen->addDirty(area());
}
