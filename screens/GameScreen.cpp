// The game screen: its layout, the road of one question (ask, step the
// hands, judge, spin, ask again), and picking up changes that the level
// screen made to the shared progress store.
#include "screens/GameScreen.h"

#include <algorithm>
#include <utility>

#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/Image.h"
#include "figures/Text.h"
#include "resources/resource_ids.h"
#include "platform/access.h"
#include "platform/text.h"
#include "platform/text_format.h"
#include "platform/time_input.h"
#include "progress/ProgressStore.h"
#include "screens/Questions.h"
#include "screens/Sounds.h"

namespace {



constexpr std::size_t PROMPT_CHARS = 50;
constexpr std::size_t SCORE_CHARS = 20;

// The score's caption and number stand on the plate printed on the
// background, inside these columns: the caption at 90 and the number at 130,
// or this far after a longer caption. A caption too long for the widest
// score the store keeps stands further left, so the pair stays on the plate.
constexpr std::int32_t SCORE_CAPTION_X = 90;
constexpr std::int32_t SCORE_X = 130;
constexpr std::int32_t SCORE_GAP = 3;
constexpr std::int32_t SCORE_PLATE_LEFT = 66, SCORE_PLATE_RIGHT = 194;

// The prompt keeps this far from the screen's edges: from the left edge, or
// from the right one for a line that reads from right to left.
constexpr std::int32_t PROMPT_MARGIN = 10;
constexpr std::int32_t PROMPT_Y = 270;

// "Minute" starts here, or ends this far before the minute buttons when it is longer.
constexpr std::int32_t MINUTE_LABEL_X = 135;
constexpr std::int32_t LABEL_GAP = 2;

// Where the caption picture lies on the background: the level row's corner.
constexpr platform::Point CAPTION_AT{0, 297};

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
    : ReportingScreen(window, instance, app) {
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

    background = place(new Image(this, window, IDB_GAME_BACKGROUND), {.z = 1});
    // The background's words in the user's language, over the English ones.
    place(new Image(this, window, IDB_GAME_CAPTION), {.z = 2, .at = CAPTION_AT});

    clock = place(new Clock(this, window, DIAL, HOUR_COLOUR, MINUTE_COLOUR, CENTRE_COLOUR), {});

    // Hidden until a right answer starts it; it joins and leaves the tickers itself.
    clockAnim = new ClockAnim(this, window, DIAL, HOUR_COLOUR, MINUTE_COLOUR, CENTRE_COLOUR, SPIN_STEPS);
    clockAnim->addAnimationListener(this);
    place(clockAnim, {.z = 20, .visible = false});

    // Below the child's clock, so the grey "now" stays behind the hands being set.
    referenceClock = place(new Clock(this, window, DIAL, REFERENCE_HOUR_COLOUR, REFERENCE_MINUTE_COLOUR,
                                     CENTRE_COLOUR),
                           {.z = 5, .visible = false});

    // Buttons watch the stylus through their ticks, so a lifted stylus lets them go.
    auto makeGameButton = [this, window](std::int32_t bitmapId, std::int32_t x, std::int32_t y) {
        auto* button = place(new Button(this, window, bitmapId),
                             {.z = 11, .enabled = true, .listener = this, .at = platform::Point{x, y}});
        tickers.append(button);
        return button;
    };
    hourForwardButton = makeGameButton(IDB_ARROW_UP, 10, 180);
    hourBackButton = makeGameButton(IDB_ARROW_DOWN, 10, 205);
    minuteForwardButton = makeGameButton(IDB_ARROW_UP, 190, 180);
    minuteBackButton = makeGameButton(IDB_ARROW_DOWN, 190, 205);

    place(new Text(this, instance, window, IDS_HOUR, textColour, Text::defaultFont()),
          {.at = platform::Point{55, 190}});
    minuteLabel = new Text(this, instance, window, IDS_MINUTE, textColour, Text::defaultFont());
    place(minuteLabel, {.at = platform::Point{std::min(MINUTE_LABEL_X, minuteForwardButton->getX() - LABEL_GAP -
                                                                        minuteLabel->getWidth()),
                                              190}});

    checkButton = makeGameButton(IDB_CHECK_BUTTON, 90, 230);

    // The App switches screens on this button; it needs no ticks of its own here.
    menuButton = place(new Button(this, window, IDB_MENU_BUTTON),
                       {.z = 11, .enabled = true, .listener = this, .at = platform::Point{10, 10}});

    // Marker i stands for level i + 1; the row fills from the right.
    for (int i = 0; i < LEVEL_MARKERS; ++i) {
        auto* marker = new Image(this, window, IDB_LEVEL_MARKER);
        const platform::Point at{width - i * marker->getWidth() - 20, height - 20};
        levelMarkers[i] = place(marker, {.visible = i < store->level, .at = at});
    }

    exitIcon = new Image(this, window, IDB_EXIT_ICON);
    place(exitIcon, {.enabled = true, .listener = this, .at = platform::Point{width - exitIcon->getWidth() - 4, 4}});

    scoreFont = platform::FontDescription{};
    scoreFont.height = 16;
    scoreFont.weight = platform::FW_BOLD;
    scoreFont.pitchAndFamily = platform::FF_SWISS;
    scoreCaption = new Text(this, instance, window, IDS_SCORE, platform::BLACK, scoreFont);
    const std::int32_t widestScore =
        platform::Font(scoreFont).extent(platform::formatText(L"%d", {ProgressStore::MAX_SCORE})).width;
    const std::int32_t pairWidth = scoreCaption->getWidth() + SCORE_GAP + widestScore;
    place(scoreCaption,
          {.z = 20,
           .at = platform::Point{std::max(SCORE_PLATE_LEFT, std::min(SCORE_CAPTION_X, SCORE_PLATE_RIGHT - pairWidth)),
                                 5}});

    updateScore();
    newQuestion();
}

GameScreen::~GameScreen() {
    ProgressStore::release();
    store = nullptr;
    destroyAllFigures();
    prompt = nullptr;
    scoreText = nullptr;
}

// The level screen changes the store while this screen sleeps; the flags
// tell this screen at its next paint. A level chosen during the spin waits
// for its end, which asks the next question anyway: asking now would give
// the child live arrows on a hidden clock and a question it never sees.
void GameScreen::paint(platform::Picture& target, bool all) {
    if (store->levelChanged && !clockAnim->visible) {
        store->levelChanged = false;
        updateLevelMarkers();
        newQuestion();
    }
    if (store->scoreReset) {
        store->scoreReset = false;
        updateScore();
    }
    // Nothing is said while the spin runs: the next question waits for its end.
    if (active && questionUntold && clock->visible) tellTheNews();
    Screen::paint(target, all);
}

void GameScreen::shown() {
    questionUntold = true;
    toldLevel = 0;
}

void GameScreen::tellTheNews() {
    std::wstring news = rightUntold ? spoken(IDS_SAY_RIGHT) + L" " : L"";
    news += spoken(IDS_SAY_SCORE, store->score) + L" ";
    if (toldLevel != shownLevel) news += spoken(IDS_SAY_LEVEL, shownLevel) + L" ";
    platform::announce(news + questionText);
    questionUntold = rightUntold = false;
    toldLevel = shownLevel;
}

void GameScreen::reactToPress(Figure* figure) {
    // Each arrow clicks, then moves one hand of the child's clock.
    const std::pair<Figure*, void (Clock::*)()> arrows[] = {
        {hourForwardButton, &Clock::nextHour},
        {hourBackButton, &Clock::previousHour},
        {minuteForwardButton, &Clock::stepMinuteForward},
        {minuteBackButton, &Clock::stepMinuteBack},
    };
    if (figure == exitIcon) {
        // The click must be heard before the program goes away.
        playWave(buttonSound, SOUND_TO_END);
        closeWindow();
    } else if (figure == checkButton) {
        judge();
    }
    for (const auto& [arrow, step] : arrows) {
        if (figure != arrow) continue;
        playWave(buttonSound, SOUND_TO_END);
        (clock->*step)();
    }
}

std::vector<Figure*> GameScreen::focusOrder() const {
    return {checkButton, hourForwardButton, hourBackButton, minuteForwardButton, minuteBackButton, menuButton,
            exitIcon};
}

Figure* GameScreen::keyedControl(int virtualKey) const {
    switch (virtualKey) {
    case platform::VK_UP: return hourForwardButton;
    case platform::VK_DOWN: return hourBackButton;
    case platform::VK_RIGHT: return minuteForwardButton;
    case platform::VK_LEFT: return minuteBackButton;
    case platform::VK_ESCAPE: case 'M': return menuButton;
    default: return nullptr;
    }
}

Destination GameScreen::destinationOf(const Figure* figure) const {
    return figure == menuButton ? Destination::levelScreen : Destination::none;
}

void GameScreen::animationStarted(Figure*) {}

void GameScreen::animationWrapped(Figure* figure) {
    if (figure != clockAnim) return;
    store->levelChanged = false;  // a level chosen during the spin is asked now
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

    // The question kind's prompt, in the form its numbers call for in the
    // user's language ("1 hour", "2 hours"), filled in with them.
    const std::int32_t numbers[] = {question->promptHours, question->promptMinutes};
    const std::uint32_t promptId = platform::stringForNumbers(instance, question->promptId, numbers);
    const std::wstring format = platform::loadString(instance, promptId, PROMPT_CHARS);
    const std::wstring text = platform::formatText(format, {numbers[0], numbers[1]}, PROMPT_CHARS);
    questionText = text;
    questionUntold = true;
    prompt = new Text(this, window, text, textColour);
    prompt->setX(platform::readsRightToLeft(text) ? width - PROMPT_MARGIN - prompt->getWidth() : PROMPT_MARGIN);
    prompt->setY(PROMPT_Y);
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
    const std::wstring text = platform::formatText(L"%d", {store->score}, SCORE_CHARS);
    scoreText = new Text(this, window, text, SCORE_COLOUR, scoreFont);
    scoreText->setVisible(true);
    scoreText->enabled = false;
    scoreText->setY(5);
    // After the caption; a longer caption than "Score" pushes the number along.
    scoreText->setX(std::max(SCORE_X, scoreCaption->getX() + scoreCaption->getWidth() + SCORE_GAP));
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
        rightUntold = true;
    } else {
        scoreWrongAnswer(*store, noWrongAnswer);
        playWave(wrongSound, SOUND_ASYNC);
        platform::announce(spoken(verdict.hourWrong && verdict.minuteWrong ? IDS_SAY_WRONG_BOTH
                                  : verdict.hourWrong                      ? IDS_SAY_WRONG_HOUR
                                                                           : IDS_SAY_WRONG_MINUTE));
        clock->hourHighlighted = verdict.hourWrong;
        clock->markDirty();
        clock->minuteHighlighted = verdict.minuteWrong;
        clock->markDirty();
    }
}
