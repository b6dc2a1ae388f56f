// The screen where the child plays: a large dial, the prompt, four arrow
// buttons that turn the hands, the check button, the score, the level
// markers, the menu button and the exit icon. A right answer spins the hands
// and brings the next question; a wrong one turns the wrong hands red.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "figures/AnimationListener.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "screens/ReportingScreen.h"

class Button;
class Clock;
class ClockAnim;
class Image;
class ProgressStore;
class Text;

class GameScreen : public ReportingScreen, public AnimationListener {
public:
    static constexpr int LEVEL_MARKERS = 10;

    // Builds every figure, then shows the score and asks the first question.
    GameScreen(platform::Window* window, platform::Instance* instance, App* app);
    // Releases the store and destroys every figure.
    ~GameScreen() override;
    // Picks up a level chosen or a score reset elsewhere, says a question not
    // yet said, then composes as any screen.
    void paint(platform::Picture& target, bool all) override;
    // The question, the score and the level are said again.
    void shown() override;

    // The menu button leads to the level screen.
    Destination destinationOf(const Figure* figure) const override;

    // Nothing: the spin needs no preparation.
    void animationStarted(Figure* figure) override;
    // The spin has ended: markers, score and the next question, then a whole repaint.
    void animationWrapped(Figure* figure) override;
    // Nothing: the spinning clock draws its own frames.
    void animationFrame(Figure* figure, std::int32_t frame) override;

    // Replaces the prompt with a new question at the store's level and resets the child's clock.
    void newQuestion();
    // Replaces the score number with the store's score.
    void updateScore();
    // Shows one marker per level reached.
    void updateLevelMarkers();
    // Shows and enables the minute buttons and shows the word "Minute".
    void showMinuteControls();
    // Hides the minute buttons and the word "Minute" (whole hours only).
    void hideMinuteControls();

    Clock* clock = nullptr;
    Clock* referenceClock = nullptr;
    Button* hourForwardButton = nullptr;
    Button* hourBackButton = nullptr;
    Button* minuteForwardButton = nullptr;
    Button* minuteBackButton = nullptr;
    Button* checkButton = nullptr;
    Button* menuButton = nullptr;
    Text* minuteLabel = nullptr;
    Image* levelMarkers[LEVEL_MARKERS] = {};
    Image* exitIcon = nullptr;
    platform::FontDescription scoreFont;
    Text* scoreText = nullptr;
    Text* scoreCaption = nullptr;  // "Score", in the user's language
    std::span<const std::uint8_t> buttonSound;
    std::span<const std::uint8_t> rightSound;
    std::span<const std::uint8_t> levelUpSound;
    std::span<const std::uint8_t> wrongSound;
    std::int32_t targetHour = 0;
    std::int32_t targetMinute = 0;
    Text* prompt = nullptr;
    ProgressStore* store = nullptr;
    platform::Colour textColour = platform::rgb(56, 57, 1);
    std::int32_t shownLevel = 0;
    bool noWrongAnswer = true;
    ClockAnim* clockAnim = nullptr;

    // What the player's screen reader has yet to say: the question (as the
    // prompt reads), a right answer, the level last said.
    std::wstring questionText;
    bool questionUntold = true;
    bool rightUntold = false;
    std::int32_t toldLevel = 0;

protected:
    // The arrows step the child's clock, the check button judges, the exit icon ends the program.
    void reactToPress(Figure* figure) override;
    // The check button first, then the arrows, the menu button and the exit icon.
    std::vector<Figure*> focusOrder() const override;
    // Up and Down are the hour arrows, Right and Left the minute arrows,
    // Escape and M the menu button.
    Figure* keyedControl(int virtualKey) const override;

private:
    // Judges the clock against the target and answers right or wrong.
    void judge();
    // Says a right answer, the score, a new level and the question, as the screen shows them.
    void tellTheNews();
};
