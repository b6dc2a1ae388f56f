// Reporting the stylus to the screens' listeners, each event after the
// screen's own reaction; the texts that the screens say.
#include "screens/ReportingScreen.h"

#include "platform/resources.h"
#include "platform/text_format.h"

namespace {
constexpr std::size_t SPOKEN_CHARS = 100;
}

ReportingScreen::~ReportingScreen() { listeners.clear(); }

void ReportingScreen::figurePressed(Figure* figure, std::int32_t x, std::int32_t y) {
    reactToPress(figure);
    tellListeners(&ScreenListener::screenPressed, figure, x, y);
}

void ReportingScreen::figureReleased(Figure* figure, std::int32_t x, std::int32_t y) {
    tellListeners(&ScreenListener::screenReleased, figure, x, y);
}

Destination ReportingScreen::destinationOf(const Figure*) const { return Destination::none; }

void ReportingScreen::reactToPress(Figure*) {}

std::wstring ReportingScreen::spoken(std::uint32_t id, std::int32_t number) const {
    return platform::formatText(platform::loadString(instance, id, SPOKEN_CHARS), {number}, SPOKEN_CHARS);
}

void ReportingScreen::tellListeners(void (ScreenListener::*event)(Screen*, Figure*, std::int32_t, std::int32_t),
                                    Figure* figure, std::int32_t x, std::int32_t y) {
    for (const auto* node = listeners.head(); node != nullptr; node = node->next)
        (node->value->*event)(this, figure, x, y);
}
