// The level screen: its layout over the printed boxes and captions of the
// background, the reactions to its controls, and the marker and percentages
// that every paint takes afresh from the progress store.
#include "screens/LevelScreen.h"

#include <algorithm>

#include "figures/Button.h"
#include "figures/Hotspot.h"
#include "figures/Image.h"
#include "figures/Text.h"
#include "platform/access.h"
#include "platform/text_format.h"
#include "platform/time_input.h"
#include "resources/resource_ids.h"
#include "progress/ProgressStore.h"
#include "screens/Sounds.h"

namespace {

// The automatic-levelling box; level boxes carry their level as tag.
constexpr std::int32_t AUTO_BOX_TAG = 0;
constexpr std::size_t PERCENT_CHARS = 12;

// Level (index + 1)'s box: two rows of five, 30 px apart, rows at 80 and 100.
std::int32_t boxX(std::int32_t index) { return (index % 5 + 1) * 30; }
std::int32_t boxY(std::int32_t index) { return (index / 5 + 4) * 20; }

}  // namespace

LevelScreen::LevelScreen(platform::Window* window, platform::Instance* instance, App* app)
    : ReportingScreen(window, instance, app) {
    textColour = platform::rgb(192, 0, 0);
    store = ProgressStore::acquire();

    background = place(new Image(this, window, IDB_LEVEL_BACKGROUND), {.z = 1});
    okButton = place(new Button(this, window, IDB_OK_BUTTON),
                     {.enabled = true, .listener = this, .at = platform::Point{50, 240}});
    resetButton = place(new Button(this, window, IDB_RESET_BUTTON),
                        {.enabled = true, .listener = this, .at = platform::Point{130, 240}});
    autoTick = place(new Image(this, window, IDB_TICK), {.visible = store->autoAdjust, .at = platform::Point{30, 40}});
    levelMarker = place(new Image(this, window, IDB_TICK), {.at = platform::Point{30, 80}});

    // The touch boxes lie above everything, so a tap on a drawn mark still counts.
    auto makeBox = [this, window](std::int32_t x, std::int32_t y, std::int32_t tag) {
        auto* box = new Hotspot(this, window, autoTick->getWidth(), autoTick->getHeight());
        box->tag = tag;
        return place(box, {.z = 50, .enabled = true, .listener = this, .at = platform::Point{x, y}});
    };
    autoBox = makeBox(30, 40, AUTO_BOX_TAG);
    for (std::int32_t i = 0; i < ProgressStore::LEVELS; ++i) levelBoxes[i] = makeBox(boxX(i), boxY(i), i + 1);

    exitIcon = new Image(this, window, IDB_EXIT_ICON);
    place(exitIcon, {.enabled = true, .listener = this, .at = platform::Point{width - exitIcon->getWidth() - 4, 4}});

    placeMarker();

    resetSound = loadWave(IDW_SWITCH);
    exitSound = loadWave(IDW_CLICK);
}

LevelScreen::~LevelScreen() {
    ProgressStore::release();
    store = nullptr;
    destroyAllFigures();
    percentTexts.clear();
}

// The store may have changed anywhere (automatic levelling, a reset, a
// choice here), so every paint shows it as it is now.
void LevelScreen::paint(platform::Picture& target, bool all) {
    placeMarker();
    rebuildPercentages();
    Screen::paint(target, all);
}

void LevelScreen::reactToPress(Figure* figure) {
    if (figure == exitIcon) {
        // The click must be heard before the program goes away.
        playWave(exitSound, SOUND_TO_END);
        closeWindow();
    } else if (figure == autoBox) {
        store->setAutoAdjust(!store->autoAdjust);
        autoTick->setVisible(store->autoAdjust);
        platform::announce(spoken(store->autoAdjust ? IDS_SAY_AUTOMATIC_ON : IDS_SAY_AUTOMATIC_OFF));
    } else if (std::find(levelBoxes.begin(), levelBoxes.end(), figure) != levelBoxes.end()) {
        store->setLevel(figure->tag);
        placeMarker();
        platform::announce(spoken(IDS_SAY_LEVEL, store->level));
    } else if (figure == resetButton) {
        playWave(resetSound, SOUND_ASYNC);
        store->resetScore();
        rebuildPercentages();
        platform::announce(spoken(IDS_SAY_SCORE, store->score));
    }
}

void LevelScreen::shown() {
    platform::announce(spoken(IDS_SAY_LEVEL, store->level) + L" " +
                       spoken(store->autoAdjust ? IDS_SAY_AUTOMATIC_ON : IDS_SAY_AUTOMATIC_OFF));
}

std::vector<Figure*> LevelScreen::focusOrder() const {
    std::vector<Figure*> order{okButton, autoBox};
    order.insert(order.end(), levelBoxes.begin(), levelBoxes.end());
    order.insert(order.end(), {resetButton, exitIcon});
    return order;
}

Figure* LevelScreen::keyedControl(int virtualKey) const {
    // The boxes lie in two rows of five: across is one level, down is five.
    auto besideCurrent = [this](std::int32_t by) -> Figure* {
        const std::int32_t level = store->level + by;
        return level >= 1 && level <= ProgressStore::LEVELS ? levelBoxes[level - 1] : nullptr;
    };
    if (virtualKey >= '1' && virtualKey <= '9') return levelBoxes[virtualKey - '1'];
    switch (virtualKey) {
    case '0': return levelBoxes[ProgressStore::LEVELS - 1];
    case platform::VK_LEFT: return besideCurrent(-1);
    case platform::VK_RIGHT: return besideCurrent(1);
    case platform::VK_UP: return besideCurrent(-5);
    case platform::VK_DOWN: return besideCurrent(5);
    case 'A': return autoBox;
    case 'R': return resetButton;
    case platform::VK_ESCAPE: return okButton;
    default: return nullptr;
    }
}

Destination LevelScreen::destinationOf(const Figure* figure) const {
    return figure == okButton ? Destination::gameScreen : Destination::none;
}

void LevelScreen::placeMarker() {
    std::int32_t v = store->level - 1;
    levelMarker->setX(boxX(v));
    levelMarker->setY(v < 5 ? 80 : 100);
}

// Texts render once, so new numbers need new figures; removing the old ones
// marks their areas for the paint that follows.
void LevelScreen::rebuildPercentages() {
    for (const auto* node = percentTexts.head(); node != nullptr; node = node->next)
        removeFigure(node->value, true);
    percentTexts.clear();

    platform::FontDescription font;
    font.height = 12;
    font.weight = platform::FW_BOLD;
    font.pitchAndFamily = platform::FF_SWISS;

    for (std::int32_t i = 0; i < ProgressStore::LEVELS; ++i) {
        // Single precision and truncation: 2 of 3 shows 66, not 67. A damaged
        // record can hold more right answers than attempts, or negative
        // counts; clamped, every rate converts to a defined percentage.
        float rate = std::clamp(store->successRate(i + 1) * 100.0f, 0.0f, 100.0f);
        auto percent = static_cast<std::int32_t>(rate);
        const std::wstring text = platform::formatText(L"%d", {percent}, PERCENT_CHARS);
        auto* percentText = new Text(this, window, text, textColour, font);
        percentText->setX((i % 3) * 70 + 66);
        percentText->setY((i / 3 + 7) * 20);
        percentText->enabled = false;
        // Level 10 stands alone in its row, a little to the right.
        if (i == 9) percentText->setX(percentText->getX() + 5);
        percentTexts.append(percentText);
        addFigure(percentText);
    }
}
