// The application object: start-up (seed, screens, title, opening sound),
// switching screens on the title tap and the navigation buttons, and the
// orderly teardown of the screens.
#include "app/App.h"

#include "resources/resource_ids.h"
#include "screens/GameScreen.h"
#include "screens/LevelScreen.h"
#include "screens/Sounds.h"
#include "screens/TitleScreen.h"

App::App(platform::Window* window, platform::Instance* instance) : window(window), instance(instance) {
    // Only the day of the month and the time of day make the seed.
    platform::LocalTime now = platform::localTime();
    std::uint32_t seed = ((static_cast<std::uint32_t>(now.day) * 24 + now.hour) * 60 + now.minute) * 60 + now.second;
    platform::seedRandom(seed);

    gameScreen = new GameScreen(window, instance, this);
    gameScreen->listeners.insertAt(this, gameScreen->listeners.count());
    levelScreen = new LevelScreen(window, instance, this);
    levelScreen->listeners.insertAt(this, levelScreen->listeners.count());
    titleScreen = new TitleScreen(window, instance, this);
    titleScreen->listeners.insertAt(this, titleScreen->listeners.count());

    // The window's opening paint shows the title; no repaint is asked for here.
    currentScreen = titleScreen;
    currentScreen->active = true;

    switchSound = loadWave(IDW_SWITCH);
    playWave(loadWave(IDW_OPENING), SOUND_ASYNC);
}

App::~App() {
    delete gameScreen;
    gameScreen = nullptr;
    delete levelScreen;
    levelScreen = nullptr;
    delete titleScreen;
    titleScreen = nullptr;
    currentScreen = nullptr;
}

void App::screenPressed(Screen* screen, Figure* figure, std::int32_t, std::int32_t) {
    if (screen == titleScreen) {
        playWave(switchSound, SOUND_ASYNC);
        showScreen(gameScreen);
        return;
    }
    if (destinationOf(screen, figure) != Destination::none) playWave(switchSound, SOUND_ASYNC);
}

void App::screenReleased(Screen* screen, Figure* figure, std::int32_t, std::int32_t) {
    switch (destinationOf(screen, figure)) {
    case Destination::levelScreen: showScreen(levelScreen); break;
    case Destination::gameScreen: showScreen(gameScreen); break;
    case Destination::none: break;
    }
}

Destination App::destinationOf(const Screen* screen, const Figure* figure) const {
    const ReportingScreen* reporters[] = {gameScreen, levelScreen, titleScreen};
    for (const ReportingScreen* reporter : reporters)
        if (reporter == screen) return reporter->destinationOf(figure);
    return Destination::none;
}

void App::showScreen(Screen* target) {
    currentScreen->active = false;
    currentScreen = target;
    currentScreen->active = true;
    currentScreen->resetFocus(keyboard.used);
    currentScreen->shown();
    platform::invalidateRect(window, nullptr, false);
}
