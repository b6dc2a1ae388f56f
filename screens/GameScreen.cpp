// The game screen: its layout, the road of one question (ask, step the
// hands, judge, spin, ask again), and picking up changes that the level
// screen made to the shared progress store.
#include "screens/GameScreen.h"

#include <cwchar>

#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/Image.h"
#include "figures/Text.h"
#include "platform/window.h"
#include "resources/resource_ids.h"
#include "progress/ProgressStore.h"
#include "screens/Questions.h"
#include "screens/Sounds.h"

namespace {



constexpr std::size_t PROMPT_CHARS = 50;
constexpr std::size_t SCORE_CHARS = 20;

// The three clocks cover the dial printed on the background.
constexpr platform::Rect DIAL{40, 30, 200, 190};
constexpr std::int32_t SPIN_STEPS = 30;

constexpr platform::Colour HOUR_COLOUR = platform::rgb(131, 132, 1);
constexpr platform::Colour MINUTE_COLOUR = platform::rgb(56, 57, 1);
constexpr platform::Colour CENTRE_COLOUR = platform::rgb(255, 181, 132);
constexpr platform::Colour REFERENCE_HOUR_COLOUR = platform::rgb(162, 156, 156);
constexpr platform::Colour REFERENCE_MINUTE_COLOUR = platform::rgb(195, 194, 200);
constexpr platform::Colour SCORE_COLOUR = platform::rgb(128, 0, 0);

}  // namespace

GameScreen::GameScreen(platform::Window* window, platform::Instance* instance, App* app)
    : Screen(window, instance, app) {
    noWrongAnswer = true;
    prompt = nullptr;
    scoreText = nullptr;
    textColour = platform::rgb(56, 57, 1);

    buttonSound = loadWave(IDW_CLICK);
    levelUpSound = loadWave(IDW_LEVEL_UP);
    rightSound = loadWave(IDW_RIGHT);
    wrongSound = loadWave(IDW_WRONG);

    store = ProgressStore::acquire();
    shownLevel = store->level;

    auto* backgroundImage = new Image(this, window, IDB_GAME_BACKGROUND);
    backgroundImage->setZ(1);
    backgroundImage->enabled = false;
    backgroundImage->setVisible(true);
    background = backgroundImage;
    addFigure(backgroundImage);

    clock = new Clock(this, window, DIAL, HOUR_COLOUR, MINUTE_COLOUR, CENTRE_COLOUR);
    clock->setZ(10);
    clock->enabled = false;
    clock->setVisible(true);
    addFigure(clock);

    // Hidden until a right answer starts it; it joins and leaves the tickers itself.
    clockAnim = new ClockAnim(this, window, DIAL, HOUR_COLOUR, MINUTE_COLOUR, CENTRE_COLOUR, SPIN_STEPS);
    clockAnim->setZ(20);
    clockAnim->enabled = false;
    clockAnim->setVisible(false);
    clockAnim->addAnimationListener(this);
    addFigure(clockAnim);

    // Below the child's clock, so the grey "now" stays behind the hands being set.
    referenceClock = new Clock(this, window, DIAL, REFERENCE_HOUR_COLOUR, REFERENCE_MINUTE_COLOUR, CENTRE_COLOUR);
    referenceClock->setZ(5);
    referenceClock->enabled = false;
    referenceClock->setVisible(false);
    addFigure(referenceClock);

    // Buttons watch the stylus through their ticks, so a lifted stylus lets them go.
    auto makeGameButton = [this, window](std::int32_t bitmapId, std::int32_t x, std::int32_t y) {
        auto* button = new Button(this, window, bitmapId);
        button->setZ(11);
        button->enabled = true;
        button->setVisible(true);
        button->addListener(this);
        button->setX(x);
        button->setY(y);
        addFigure(button);
        tickers.append(button);
        return button;
    };
    hourForwardButton = makeGameButton(IDB_ARROW_UP, 10, 180);
    hourBackButton = makeGameButton(IDB_ARROW_DOWN, 10, 205);
    minuteForwardButton = makeGameButton(IDB_ARROW_UP, 190, 180);
    minuteBackButton = makeGameButton(IDB_ARROW_DOWN, 190, 205);

    auto* hourLabel = new Text(this, window, L"Hour", textColour);
    hourLabel->setZ(10);
    hourLabel->enabled = false;
    hourLabel->setVisible(true);
    hourLabel->setX(55);
    hourLabel->setY(190);
    addFigure(hourLabel);

    minuteLabel = new Text(this, window, L"Minute", textColour);
    minuteLabel->setZ(10);
    minuteLabel->enabled = false;
    minuteLabel->setVisible(true);
    minuteLabel->setX(135);
    minuteLabel->setY(190);
    addFigure(minuteLabel);

    checkButton = makeGameButton(IDB_CHECK_BUTTON, 90, 230);

    // The App switches screens on this button; it needs no ticks of its own here.
    auto* menuButton = new Button(this, window, IDB_MENU_BUTTON);
    menuButton->setZ(11);
    menuButton->enabled = true;
    menuButton->setVisible(true);
    menuButton->addListener(this);
    menuButton->setX(10);
    menuButton->setY(10);
    addFigure(menuButton);

    // Marker i stands for level i + 1; the row fills from the right.
    for (int i = 0; i < LEVEL_MARKERS; ++i) {
        auto* marker = new Image(this, window, IDB_LEVEL_MARKER);
        marker->setZ(10);
        marker->enabled = false;
        marker->setVisible(i < store->level);
        marker->setX(width - i * marker->getWidth() - 20);
        marker->setY(height - 20);
        addFigure(marker);
        levelMarkers[i] = marker;
    }

    exitIcon = new Image(this, window, IDB_EXIT_ICON);
    exitIcon->setZ(10);
    exitIcon->enabled = true;
    exitIcon->setVisible(true);
    exitIcon->addListener(this);
    exitIcon->setX(width - exitIcon->getWidth() - 4);
    exitIcon->setY(4);
    addFigure(exitIcon);

    scoreFont = platform::FontDescription{};
    scoreFont.height = 16;
    scoreFont.weight = platform::FW_BOLD;
    scoreFont.pitchAndFamily = platform::FF_SWISS;
    auto* scoreCaption = new Text(this, instance, window, IDS_SCORE, platform::BLACK, scoreFont);
    scoreCaption->setZ(20);
    scoreCaption->enabled = false;
    scoreCaption->setVisible(true);
    scoreCaption->setX(90);
    scoreCaption->setY(5);
    addFigure(scoreCaption);

    updateScore();
    newQuestion();
}

GameScreen::~GameScreen() {
    ProgressStore::release();
    store = nullptr;
    destroyAllFigures();
    prompt = nullptr;
    scoreText = nullptr;
    listeners.clear();
}

// The level screen changes the store while this screen sleeps; the flags
// tell this screen at its next paint.
void GameScreen::paint(platform::Picture& target, bool all) {
    if (store->levelChanged) {
        store->levelChanged = false;
        updateLevelMarkers();
        newQuestion();
    }
    if (store->scoreReset) {
        store->scoreReset = false;
        updateScore();
    }
    Screen::paint(target, all);
}

void GameScreen::figurePressed(Figure* figure, std::int32_t x, std::int32_t y) {
    if (figure == exitIcon) {
        // The click must be heard before the program goes away.
        playWave(buttonSound, SOUND_TO_END);
        platform::postMessage(window, platform::WM_DESTROY, 0, 0);
    } else if (figure == hourForwardButton) {
        playWave(buttonSound, SOUND_TO_END);
        clock->nextHour();
    } else if (figure == hourBackButton) {
        playWave(buttonSound, SOUND_TO_END);
        clock->previousHour();
    } else if (figure == minuteForwardButton) {
        playWave(buttonSound, SOUND_TO_END);
        clock->stepMinuteForward();
    } else if (figure == minuteBackButton) {
        playWave(buttonSound, SOUND_TO_END);
        clock->stepMinuteBack();
    } else if (figure == checkButton) {
        judge();
    }
    tellPressed(figure, x, y);
}

void GameScreen::figureReleased(Figure* figure, std::int32_t x, std::int32_t y) { tellReleased(figure, x, y); }

void GameScreen::animationStarted(Figure*) {}

void GameScreen::animationWrapped(Figure* figure) {
    if (figure != clockAnim) return;
    updateLevelMarkers();
    updateScore();
    newQuestion();
    clock->setVisible(true);
    refresh(true);
}

void GameScreen::animationFrame(Figure*, std::int32_t) {}

void GameScreen::newQuestion() {
    referenceClock->setVisible(false);
    clock->hourHighlighted = false;
    clock->markDirty();
    clock->minuteHighlighted = false;
    clock->markDirty();

    if (prompt != nullptr) {
        removeFigure(prompt, true);
        prompt = nullptr;
    }

    // A level reached by answering or chosen on the level screen is cheered once.
    if (shownLevel < store->level) playWave(levelUpSound, SOUND_ASYNC);
    shownLevel = store->level;

    if (shownLevel == 1) {
        hideMinuteControls();
    } else {
        showMinuteControls();
    }
    hourForwardButton->enabled = true;
    hourBackButton->enabled = true;
    checkButton->enabled = true;

    std::optional<Question> question = makeQuestion(shownLevel);
    if (!question) return;
    targetHour = question->targetHour;
    targetMinute = question->targetMinute;

    clock->minuteStep = question->minuteStep;
    clock->setTime(question->startHour, question->startMinute);

    if (question->withReference) {
        referenceClock->setVisible(true);
        referenceClock->setTime(question->startHour, question->startMinute);
    }

    std::wstring format = platform::loadString(instance, question->promptId, PROMPT_CHARS);
    wchar_t text[PROMPT_CHARS] = {};
    std::swprintf(text, PROMPT_CHARS, format.c_str(), question->promptHours, question->promptMinutes);
    prompt = new Text(this, window, text, textColour);
    prompt->setX(10);
    prompt->setY(270);
    prompt->setVisible(true);
    prompt->enabled = false;
    prompt->setZ(10);
    addFigure(prompt);
}

void GameScreen::updateScore() {
    if (scoreText != nullptr) {
        removeFigure(scoreText, true);
        scoreText = nullptr;
    }
    wchar_t text[SCORE_CHARS] = {};
    std::swprintf(text, SCORE_CHARS, L"%d", store->score);
    scoreText = new Text(this, window, text, SCORE_COLOUR, scoreFont);
    scoreText->setVisible(true);
    scoreText->enabled = false;
    scoreText->setY(5);
    scoreText->setX(130);
    scoreText->setZ(20);
    addFigure(scoreText);
}

void GameScreen::updateLevelMarkers() {
    for (int i = 0; i < LEVEL_MARKERS; ++i) levelMarkers[i]->setVisible(i < store->level);
}

void GameScreen::showMinuteControls() {
    minuteForwardButton->setVisible(true);
    minuteBackButton->setVisible(true);
    minuteLabel->setVisible(true);
    minuteForwardButton->enabled = true;
    minuteBackButton->enabled = true;
}

// Hiding also disables, so hidden buttons hear neither presses nor releases.
void GameScreen::hideMinuteControls() {
    minuteForwardButton->setVisible(false);
    minuteBackButton->setVisible(false);
    if (minuteLabel->visible) {
        minuteLabel->setVisible(false);
        minuteLabel->enabled = false;
        minuteLabel->markDirty();
    }
}

// Right: points and result to the store, then the spin takes the child's
// place with the game buttons off. Wrong: fewer points and red hands.
void GameScreen::judge() {
    Question answer;
    answer.targetHour = targetHour;
    answer.targetMinute = targetMinute;
    Verdict verdict = judgeAnswer(answer, clock->hour, clock->minute);

    if (verdict.correct) {
        scoreRightAnswer(*store, noWrongAnswer);
        clock->setVisible(false);
        hourForwardButton->enabled = false;
        hourBackButton->enabled = false;
        minuteForwardButton->enabled = false;
        minuteBackButton->enabled = false;
        checkButton->enabled = false;
        referenceClock->setVisible(false);
        clockAnim->setTime(clock->hour, clock->minute);
        playWave(rightSound, SOUND_ASYNC);
        clockAnim->start();
    } else {
        scoreWrongAnswer(*store, noWrongAnswer);
        playWave(wrongSound, SOUND_ASYNC);
        clock->hourHighlighted = verdict.hourWrong;
        clock->markDirty();
        clock->minuteHighlighted = verdict.minuteWrong;
        clock->markDirty();
    }
}

void GameScreen::tellPressed(Figure* figure, std::int32_t x, std::int32_t y) {
    for (const auto* node = listeners.head(); node != nullptr; node = node->next)
        node->value->screenPressed(this, figure, x, y);
}

void GameScreen::tellReleased(Figure* figure, std::int32_t x, std::int32_t y) {
    for (const auto* node = listeners.head(); node != nullptr; node = node->next)
        node->value->screenReleased(this, figure, x, y);
}
