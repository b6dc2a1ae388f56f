// Clock: the time, its stepping with carry, and drawing the hands with
// width-7 pens, the minute hand first so the hour hand lies over it.
#include "figures/Clock.h"

#include <algorithm>

#include "figures/ClockHands.h"

Clock::Clock(Screen* screen, platform::Window* window, platform::Rect rect, platform::Colour hourColour,
             platform::Colour minuteColour, platform::Colour centreColour)
    : Figure(screen, window), rect(rect), hourColour(hourColour), minuteColour(minuteColour),
      centreColour(centreColour) {
    hourHighlighted = false;
    minuteHighlighted = false;
    minute = 0;
    minuteStep = 5;
    hour = 1;
    setX(rect.left);
    setY(rect.top);
    setWidth(rect.right - rect.left);
    setHeight(rect.bottom - rect.top);
    centreX = width / 2;
    centreY = height / 2;
    std::int32_t radius = std::min(width, height) / 2;
    hourLength = static_cast<std::int32_t>(radius * 0.5);
    minuteLength = static_cast<std::int32_t>(radius * 0.8);
    picture = platform::Picture(width, height);
    drawHands();
    setVisible(true);
}

Clock::~Clock() = default;

const wchar_t* Clock::typeName() const { return L"Clock"; }

platform::Picture* Clock::imageDC() {
    drawHands();
    return picture.empty() ? nullptr : &picture;
}

void Clock::setTime(std::int32_t newHour, std::int32_t newMinute) {
    if (newHour >= 0 && newHour < 12) hour = newHour;
    if (newMinute >= 0 && newMinute < 60) minute = newMinute;
    markDirty();
}

void Clock::nextHour() {
    hour = hour == 11 ? 0 : hour + 1;
    markDirty();
}

void Clock::previousHour() {
    hour = hour == 0 ? 11 : hour - 1;
    markDirty();
}

void Clock::stepMinuteForward() {
    minute += minuteStep;
    if (minute >= 60) {
        minute -= 60;
        nextHour();
    }
    markDirty();
}

void Clock::stepMinuteBack() {
    minute -= minuteStep;
    if (minute < 0) {
        minute += 60;
        previousHour();
    }
    markDirty();
}

void Clock::drawHands() {
    eraseToKey(picture);
    platform::Point centre{centreX, centreY};
    platform::Point hourEnd = hourHandEnd(hour, minute, centre, hourLength);
    platform::Point minuteEnd = minuteHandEnd(minute, centre, minuteLength);

    platform::Point minuteHand[] = {centre, minuteEnd};
    platform::polyline(picture, minuteHand,
                       {platform::Pen::Style::solid, HAND_PEN_WIDTH,
                        minuteHighlighted ? minuteHighlightColour : minuteColour});

    platform::Point hourHand[] = {centre, hourEnd};
    platform::polyline(picture, hourHand,
                       {platform::Pen::Style::solid, HAND_PEN_WIDTH,
                        hourHighlighted ? hourHighlightColour : hourColour});

    // The disc takes the picture's default white fill.
    platform::ellipse(picture,
                      {centreX - CENTRE_RADIUS, centreY - CENTRE_RADIUS, centreX + CENTRE_RADIUS,
                       centreY + CENTRE_RADIUS},
                      {platform::Pen::Style::solid, HAND_PEN_WIDTH, centreColour}, platform::WHITE);
}
