// The screen of progress: the current level's box, the automatic-levelling
// switch, every level's success percentage, the Reset and OK buttons and the
// exit icon. It shows and edits the shared progress store and switches
// nothing itself: the application hears its presses and releases.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/resources.h"
#include "progress/ProgressStore.h"
#include "scene/LinkedList.h"
#include "screens/ReportingScreen.h"

class Button;
class Hotspot;
class Image;
class Text;

class LevelScreen : public ReportingScreen {
public:
    // Builds the background, buttons, tick, marker, touch boxes and exit icon; no percentages yet.
    LevelScreen(platform::Window* window, platform::Instance* instance, App* app);
    // Releases the store, destroys every figure and forgets the percentages.
    ~LevelScreen() override;
    // Moves the marker and rebuilds the percentages from the store, then composes as any screen.
    void paint(platform::Picture& target, bool all) override;
    // Says the current level and whether it follows the results.
    void shown() override;

    // The OK button leads back to the game.
    Destination destinationOf(const Figure* figure) const override;

    // Puts the level mark on the box of the store's current level.
    void placeMarker();
    // Replaces the ten percentage texts with the store's success rates.
    void rebuildPercentages();

    Image* autoTick = nullptr;
    Image* levelMarker = nullptr;
    Image* exitIcon = nullptr;
    platform::Colour textColour = platform::rgb(192, 0, 0);
    ProgressStore* store = nullptr;
    LinkedList<Text*> percentTexts;
    std::span<const std::uint8_t> resetSound;
    std::span<const std::uint8_t> exitSound;
    Button* okButton = nullptr;
    Button* resetButton = nullptr;
    // The automatic-levelling box, and one box per level (its level as tag).
    Hotspot* autoBox = nullptr;
    std::array<Hotspot*, ProgressStore::LEVELS> levelBoxes{};

protected:
    // The exit icon ends the program, the boxes switch automatic levelling or
    // choose a level, Reset clears score and statistics.
    void reactToPress(Figure* figure) override;
    // OK first, then the automatic-levelling box, the level boxes, Reset and the exit icon.
    std::vector<Figure*> focusOrder() const override;
    // The digits 1 to 9 and 0 are the boxes of levels 1 to 10; the arrows the
    // box beside or above and below the current level's; A the automatic-
    // levelling box, R the Reset button, Escape the OK button.
    Figure* keyedControl(int virtualKey) const override;
};
