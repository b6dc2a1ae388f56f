// The one application object: it owns the three screens, knows which one is
// showing, and switches between them when a screen reports the title tap or
// the release of a figure that the screen says leads elsewhere (the game's
// menu button to the level screen, its OK button back to the game).
#pragma once

#include <cstdint>
#include <span>

#include "app/Keyboard.h"
#include "platform/platform.h"
#include "scene/ScreenListener.h"
#include "screens/ReportingScreen.h"

class Figure;
class GameScreen;
class LevelScreen;
class Screen;
class TitleScreen;

class App : public ScreenListener {
public:
    // Seeds the questions from the time of day, builds the three screens, shows the title, starts the opening sound.
    App(platform::Window* window, platform::Instance* instance);
    // Destroys the game, level and title screens, in that order.
    ~App() override;

    // A press on the title starts the game; a navigation button clicks.
    void screenPressed(Screen* screen, Figure* figure, std::int32_t x, std::int32_t y) override;
    // Releasing a navigation button shows the screen it leads to.
    void screenReleased(Screen* screen, Figure* figure, std::int32_t x, std::int32_t y) override;
    // Makes target the one active screen, its focus on its first control,
    // tells it so, and has the window repaint it whole.
    void showScreen(Screen* target);
    // Where letting go of the figure leads, as the screen that reported it says.
    Destination destinationOf(const Screen* screen, const Figure* figure) const;

    platform::Window* window;
    platform::Instance* instance;
    GameScreen* gameScreen = nullptr;
    LevelScreen* levelScreen = nullptr;
    TitleScreen* titleScreen = nullptr;
    // The screen that the main loop ticks and the window paints and gives the stylus.
    Screen* currentScreen = nullptr;
    // The navigation click; empty when it could not be loaded.
    std::span<const std::uint8_t> switchSound;
    // The keys, a second way to every screen's controls.
    Keyboard keyboard;
};
