// The screen shown at start: the title picture with the version and notice
// lines at its foot. A press on the picture is reported to the listeners,
// which start the game; the two lines do not take the stylus.
#pragma once

#include <cstdint>

#include "platform/resources.h"
#include "screens/ReportingScreen.h"

class TitleScreen : public ReportingScreen {
public:
    // Builds the picture and the two lines of text.
    TitleScreen(platform::Window* window, platform::Instance* instance, App* app);
    // Destroys every figure.
    ~TitleScreen() override;

    // Nothing: the game starts on the press, and its release belongs to the next screen.
    void figureReleased(Figure* figure, std::int32_t x, std::int32_t y) override;

protected:
    // Every key names the picture: any key starts the game.
    Figure* keyedControl(int virtualKey) const override;
};
