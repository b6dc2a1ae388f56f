// An analogue twelve-hour clock: two hands and a centre disc on KEY_COLOUR,
// so the dial printed on the background shows through. The time is set and
// stepped from outside; the picture is redrawn whenever it is composed.
#pragma once

#include <cstdint>

#include "platform/picture.h"
#include "scene/Figure.h"

class Clock : public Figure {
public:
    // Placed and sized to rect, showing 1:00, visible, minuteStep 5.
    Clock(Screen* screen, platform::Window* window, platform::Rect rect, platform::Colour hourColour,
          platform::Colour minuteColour, platform::Colour centreColour);
    ~Clock() override;
    const wchar_t* typeName() const override;
    // Redraws the hands for the current time and returns the picture.
    platform::Picture* imageDC() override;

    // Applies each component that is in range (hour 0..11, minute 0..59); marks dirty.
    void setTime(std::int32_t hour, std::int32_t minute);
    // One hour on, 11 wraps to 0; marks dirty.
    void nextHour();
    // One hour back, 0 wraps to 11; marks dirty.
    void previousHour();
    // minuteStep minutes on, carrying into the hour; marks dirty.
    void stepMinuteForward();
    // minuteStep minutes back, borrowing from the hour; marks dirty.
    void stepMinuteBack();
    // Clears the picture to the key colour and draws both hands and the disc.
    void drawHands();

    // Read and written by the owner; 0 is twelve o'clock.
    std::int32_t hour = 1;
    std::int32_t minute = 0;
    // Minutes moved by one minute step, 0..60.
    std::int32_t minuteStep = 5;
    // Whoever changes a highlight calls markDirty afterwards.
    bool hourHighlighted = false;
    bool minuteHighlighted = false;

protected:
    static constexpr int HAND_PEN_WIDTH = 7;
    static constexpr int CENTRE_RADIUS = 4;

    platform::Picture picture;
    platform::Rect rect;
    std::int32_t centreX = 0;
    std::int32_t centreY = 0;
    std::int32_t hourLength = 0;
    std::int32_t minuteLength = 0;
    platform::Colour hourColour;
    platform::Colour minuteColour;
    platform::Colour centreColour;
    // The wrong hands' reds differ from the game's usual hand colours in
    // lightness (by at least 20 in CIE L*), not only in hue, so that children
    // who cannot tell red from green see them too: a darker red for the hour
    // hand, a lighter one for the dark minute hand, each of a plain red's hue.
    platform::Colour hourHighlightColour = platform::rgb(129, 3, 0);
    platform::Colour minuteHighlightColour = platform::rgb(255, 64, 35);
};
