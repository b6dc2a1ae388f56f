// Stylus routing: a press goes to the topmost visible figure under it (both
// edges count) and a disabled one swallows it; a release goes to every
// enabled figure under it and to every enabled button anywhere.
#include <gtest/gtest.h>

#include "tests/scene/scene_test_support.h"

namespace {

using scenetest::RecordingListener;
using scenetest::TestFigure;
using scenetest::TestScreen;

class ScreenStylusTest : public ::testing::Test {
protected:
    TestFigure* add(platform::Rect place, std::int32_t tag) {
        auto* figure = new TestFigure(&screen, place, platform::BLACK);
        figure->tag = tag;
        figure->addListener(&listener);
        screen.addFigure(figure);
        return figure;
    }
    void TearDown() override { screen.destroyAllFigures(); }

    TestScreen screen{scenetest::openWindow()};
    std::vector<std::string> log;
    RecordingListener listener{"L", &log};
};

TEST_F(ScreenStylusTest, BothEdgesAreInside) {
    add({100, 10, 130, 40}, 1);
    screen.stylusDown(130, 40);
    screen.stylusDown(100, 10);
    screen.stylusDown(131, 40);
    screen.stylusDown(130, 41);
    screen.stylusDown(99, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"press L 1 130 40", "press L 1 100 10"}));
}

TEST_F(ScreenStylusTest, OnlyTheTopmostHitFigureIsPressed) {
    add({0, 0, 50, 50}, 1);
    TestFigure* top = add({0, 0, 50, 50}, 2);
    top->setZ(20);
    screen.stylusDown(10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"press L 2 10 10"}));
}

TEST_F(ScreenStylusTest, DisabledVisibleFigureSwallowsThePress) {
    add({0, 0, 50, 50}, 1);
    TestFigure* caption = add({0, 0, 50, 50}, 2);
    caption->setZ(20);
    caption->enabled = false;
    screen.stylusDown(10, 10);
    EXPECT_TRUE(log.empty());
}

TEST_F(ScreenStylusTest, HiddenFigureLetsThePressThrough) {
    add({0, 0, 50, 50}, 1);
    TestFigure* hidden = add({0, 0, 50, 50}, 2);
    hidden->setZ(20);
    hidden->setVisible(false);
    screen.stylusDown(10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"press L 1 10 10"}));
}

TEST_F(ScreenStylusTest, PressHandlerMayDestroyTheFigure) {
    TestFigure* figure = add({0, 0, 50, 50}, 1);
    listener.onPress = [&] { screen.removeFigure(figure, true); };
    screen.stylusDown(10, 10);
    EXPECT_TRUE(screen.order().empty());
}

TEST_F(ScreenStylusTest, ReleaseReachesEveryEnabledButtonAndEveryEnabledHitFigure) {
    TestFigure* farButton = add({200, 300, 220, 310}, 1);
    farButton->likeAButton = true;
    TestFigure* hiddenButton = add({200, 0, 220, 10}, 2);
    hiddenButton->likeAButton = true;
    hiddenButton->setVisible(false);
    hiddenButton->enabled = true;
    TestFigure* disabledButton = add({0, 100, 20, 110}, 3);
    disabledButton->likeAButton = true;
    disabledButton->enabled = false;
    add({0, 0, 50, 50}, 4);           // under the stylus
    add({0, 0, 50, 50}, 5);           // under the stylus too, below it
    add({100, 100, 120, 120}, 6);     // elsewhere, not a button
    screen.stylusUp(10, 10);
    // All share z 10, so the later ones lie below: the walk from the top meets 1, 2, 4, 5.
    EXPECT_EQ(log, (std::vector<std::string>{"release L 1 10 10", "release L 2 10 10", "release L 4 10 10",
                                             "release L 5 10 10"}));
}

}  // namespace
