// The application object: start-up (seed, screens, title, opening sound),
// switching screens on the title tap and the navigation buttons, and the
// orderly teardown of the screens.
#include "app/App.h"

#include <string_view>

#include "figures/Image.h"
#include "resources/resource_ids.h"
#include "scene/Figure.h"
#include "screens/GameScreen.h"
#include "screens/LevelScreen.h"
#include "screens/Sounds.h"
#include "screens/TitleScreen.h"

namespace {


// The bitmap of a Button, or 0 for any other kind of figure.
std::int32_t buttonBitmap(const Figure* figure) {
    if (std::wstring_view(figure->typeName()) != L"Button") return 0;
    return static_cast<const Image*>(figure)->bitmapId;
}

}  // namespace

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
    std::int32_t bitmap = buttonBitmap(figure);
    if (bitmap == IDB_MENU_BUTTON || bitmap == IDB_OK_BUTTON) playWave(switchSound, SOUND_ASYNC);
}

// The reporting screen does not matter: the button says where to go.
void App::screenReleased(Screen*, Figure* figure, std::int32_t, std::int32_t) {
    switch (buttonBitmap(figure)) {
    case IDB_MENU_BUTTON: showScreen(levelScreen); break;
    case IDB_OK_BUTTON: showScreen(gameScreen); break;
    default: break;
    }
}

void App::showScreen(Screen* target) {
    currentScreen->active = false;
    currentScreen = target;
    currentScreen->active = true;
    platform::invalidateRect(window, nullptr, false);
}
