// The keyboard: focus moves, and keys turned into stylus taps on the controls
// that they name.
#include "app/Keyboard.h"

#include "platform/access.h"
#include "platform/time_input.h"
#include "scene/Figure.h"
#include "scene/Screen.h"

namespace {

bool isDown(int virtualKey) { return (platform::keyState(virtualKey) & 0x8000) != 0; }

}  // namespace

void Keyboard::keyDown(Screen& screen, int virtualKey) {
    // Shift and Ctrl alone name nothing; with Ctrl a key is a command of the
    // window or the browser, not a control of the game.
    if (virtualKey == platform::VK_SHIFT || virtualKey == platform::VK_CONTROL || isDown(platform::VK_CONTROL))
        return;
    used = true;
    screen.focusRing.setShown(true);
    if (virtualKey == platform::VK_TAB) {
        const bool forward = !isDown(platform::VK_SHIFT);
        const Screen::FocusMove move = screen.moveFocus(forward, false);
        // Beyond the last control lies what surrounds the window (a page's own
        // buttons); where nothing does, the focus wraps around.
        if (move == Screen::FocusMove::pastTheEnd) {
            if (platform::passFocusOn(forward)) screen.focusRing.setFocus(nullptr);
            else screen.moveFocus(forward, true);
        }
        // A screen without controls (the title) hands Tab on too, where it can.
        if (move != Screen::FocusMove::noControls || platform::passFocusOn(forward)) return;
    }

    Figure* control = screen.controlForKey(virtualKey);
    // A tap can only aim at what the screen shows.
    if (control == nullptr || !control->visible) return;
    letGo();  // one stylus: a second key lifts it from the first control
    const platform::Rect bounds = control->bounds();
    heldAt = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    heldKey = virtualKey;
    platform::mouseEvent(platform::MOUSEEVENTF_LEFTDOWN, heldAt.x, heldAt.y);
}

void Keyboard::keyUp(int virtualKey) {
    if (virtualKey == heldKey) letGo();
}

void Keyboard::letGo() {
    if (heldKey == 0) return;
    heldKey = 0;
    platform::mouseEvent(platform::MOUSEEVENTF_LEFTUP, heldAt.x, heldAt.y);
}
