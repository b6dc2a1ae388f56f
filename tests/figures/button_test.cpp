// Buttons: one face wide, the pressed face from the middle column of the
// strip, press and release notifications, and the tick that lets go of a
// button whose release never reached it.
#include <gtest/gtest.h>

#include "figures/Button.h"
#include "tests/figures/figure_test_support.h"

namespace {

using figuretest::FigureTest;
using scenetest::RecordingListener;

constexpr std::int32_t ARROW_DOWN = 139;  // 80 x 20: two 40 x 20 faces
constexpr std::int32_t MISSING = 9999;

// A button on a 41-column strip made here, each column a colour of its own.
class OddStripButton : public Button {
public:
    OddStripButton(Screen* screen, platform::Window* window) : Button(screen, window, MISSING) {
        picture = platform::Picture(41, 10);
        for (int x = 0; x < 41; ++x) platform::fillRect(picture, {x, 0, x + 1, 10}, platform::rgb(x, 0, 0));
        setWidth(41);
        setHeight(10);
        faceWidth = width / 2;
        face = platform::Picture(faceWidth, 10);
    }
};

class ButtonTest : public FigureTest {
protected:
    void SetUp() override {
        button.setX(100);
        button.setY(200);
        button.enabled = true;
        button.tag = 139;
        button.addListener(&listener);
        screen.addFigure(&button);
    }
    Button button{&screen, window, ARROW_DOWN};
    RecordingListener listener{"L", &log};
};

TEST_F(ButtonTest, OneFaceWideEverywhere) {
    EXPECT_EQ(button.getWidth(), 40);
    EXPECT_EQ(button.getHeight(), 20);
    EXPECT_EQ(button.bounds(), (platform::Rect{100, 200, 140, 220}));
    EXPECT_EQ(button.imageDC()->width(), 40);
    EXPECT_TRUE(button.visible);
    EXPECT_STREQ(button.typeName(), L"Button");
    screen.stylusDown(141, 210);
    EXPECT_TRUE(log.empty()) << "the second face is not part of the hit area";
}

TEST_F(ButtonTest, FacesComeFromTheTwoHalvesOfTheStrip) {
    platform::Picture strip = *platform::loadBitmap(platform::moduleHandle(), ARROW_DOWN);
    for (int x : {0, 20, 39}) EXPECT_EQ(button.imageDC()->pixel(x, 10), strip.pixel(x, 10));
    button.onPress(0, 0);
    for (int x : {0, 20, 39}) EXPECT_EQ(button.imageDC()->pixel(x, 10), strip.pixel(40 + x, 10));
}

TEST_F(FigureTest, OddStripLeavesItsLastColumnUnshown) {
    OddStripButton button(&screen, window);
    EXPECT_EQ(button.getWidth(), 20);
    EXPECT_EQ(button.imageDC()->pixel(19, 0), platform::rgb(19, 0, 0));
    button.onPress(0, 0);
    EXPECT_EQ(button.imageDC()->pixel(0, 0), platform::rgb(20, 0, 0));
    EXPECT_EQ(button.imageDC()->pixel(19, 0), platform::rgb(39, 0, 0));
}

TEST_F(ButtonTest, PressThenReleaseNotifiesOnceEach) {
    screen.stylusDown(110, 210);
    EXPECT_TRUE(button.pressed);
    screen.forgetDirty();
    screen.stylusUp(5, 5);  // slid off: buttons hear every release
    EXPECT_FALSE(button.pressed);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{100, 200, 140, 220}));
    screen.stylusUp(5, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"press L 139 110 210", "release L 139 5 5"}));
}

TEST_F(ButtonTest, ReleaseWithoutPressIsIgnored) {
    screen.stylusUp(110, 210);
    EXPECT_TRUE(log.empty());
}

TEST_F(ButtonTest, TickWithTheStylusUpLetsGoSilently) {
    screen.stylusDown(110, 210);
    button.tick(0);
    EXPECT_FALSE(button.pressed);
    screen.stylusUp(110, 210);
    EXPECT_EQ(log, (std::vector<std::string>{"press L 139 110 210"}));
}

TEST_F(ButtonTest, TickWithTheStylusDownKeepsItPressed) {
    platform::headless::pressStylus(110, 210);
    screen.stylusDown(110, 210);
    button.tick(0);
    button.tick(1);
    EXPECT_TRUE(button.pressed);
}

TEST_F(ButtonTest, TickOfAButtonAtRestChangesNothing) {
    screen.forgetDirty();
    button.tick(0);
    EXPECT_EQ(screen.dirtyArea().left, -1);
}

}  // namespace
