// The screen of progress: the current level's box, the automatic-levelling
// switch, every level's success percentage, the Reset and OK buttons and the
// exit icon. It shows and edits the shared progress store and switches
// nothing itself: the application hears its presses and releases.
#pragma once

#include <cstdint>
#include <span>

#include "platform/resources.h"
#include "scene/FigureListener.h"
#include "scene/LinkedList.h"
#include "scene/Screen.h"
#include "scene/ScreenListener.h"

class Image;
class ProgressStore;
class Text;

class LevelScreen : public Screen, public FigureListener {
public:
    static constexpr int LEVELS = 10;

    // Builds the background, buttons, tick, marker, touch boxes and exit icon; no percentages yet.
    LevelScreen(platform::Window* window, platform::Instance* instance, App* app);
    // Releases the store, destroys every figure and forgets both lists.
    ~LevelScreen() override;
    // Moves the marker and rebuilds the percentages from the store, then composes as any screen.
    void paint(platform::Picture& target, bool all) override;

    // Reacts to the exit icon, the touch boxes and Reset, then tells the listeners.
    void figurePressed(Figure* figure, std::int32_t x, std::int32_t y) override;
    // Tells the listeners; the screen itself does nothing on a release.
    void figureReleased(Figure* figure, std::int32_t x, std::int32_t y) override;

    // Puts the level mark on the box of the store's current level.
    void placeMarker();
    // Replaces the ten percentage texts with the store's success rates.
    void rebuildPercentages();

    Image* autoTick = nullptr;
    Image* levelMarker = nullptr;
    Image* exitIcon = nullptr;
    platform::Colour textColour = platform::rgb(192, 0, 0);
    LinkedList<ScreenListener*> listeners;
    ProgressStore* store = nullptr;
    LinkedList<Text*> percentTexts;
    std::span<const std::uint8_t> resetSound;
    std::span<const std::uint8_t> exitSound;
};
