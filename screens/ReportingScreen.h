// What the game's three screens have in common: each reports the stylus on
// its figures to its listeners (the application), after its own reaction to
// a press, and tells them where letting go of one of its figures leads.
#pragma once

#include <cstdint>
#include <string>

#include "scene/FigureListener.h"
#include "scene/LinkedList.h"
#include "scene/Screen.h"
#include "scene/ScreenListener.h"

// The screen that letting go of a figure takes the child to.
enum class Destination { none, gameScreen, levelScreen };

class ReportingScreen : public Screen, public FigureListener {
public:
    using Screen::Screen;
    // Forgets the listeners (the concrete screen has destroyed its figures).
    ~ReportingScreen() override;

    // The screen's own reaction to the press, then screenPressed to every listener, in order.
    void figurePressed(Figure* figure, std::int32_t x, std::int32_t y) override;
    // screenReleased to every listener, in order; the screen itself does nothing.
    void figureReleased(Figure* figure, std::int32_t x, std::int32_t y) override;

    // Where letting go of the figure leads: nowhere but for a navigation button.
    virtual Destination destinationOf(const Figure* figure) const;

    LinkedList<ScreenListener*> listeners;

protected:
    // What the screen itself does when one of its figures is pressed.
    virtual void reactToPress(Figure* figure);
    // A text of the string table for the player's screen reader, filled in with the number.
    std::wstring spoken(std::uint32_t id, std::int32_t number = 0) const;
    // Tells every listener, in order, of a press or a release on a figure of this screen.
    void tellListeners(void (ScreenListener::*event)(Screen*, Figure*, std::int32_t, std::int32_t),
                       Figure* figure, std::int32_t x, std::int32_t y);
};
