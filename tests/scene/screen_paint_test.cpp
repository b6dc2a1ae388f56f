// Compositing and refreshing: the dirty rectangle (dropped, not clipped, when
// it leaves the screen), the partial copy one pixel wider and taller, the key
// colour, the 85 ms gate across the counter's wrap, and the ticker pass.
#include <gtest/gtest.h>

#include "tests/scene/scene_test_support.h"

namespace {

using scenetest::TestFigure;
using scenetest::TestScreen;

constexpr platform::Colour GREY = platform::rgb(90, 90, 90);
constexpr platform::Colour RED = platform::rgb(200, 0, 0);
constexpr platform::Colour BLUE = platform::rgb(0, 0, 200);

class ScreenPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen.addFigure(&background);
        screen.setBackground(&background);
        background.setZ(1);
        screen.active = true;
    }
    const platform::Picture& display() { return platform::headless::display(); }

    platform::Window* window = scenetest::openWindow();
    TestScreen screen{window};
    TestFigure background{&screen, {0, 0, 240, 320}, GREY};
};

TEST_F(ScreenPaintTest, AddDirtyAcceptsTheWholeScreenAndDropsWhatLeavesIt) {
    screen.forgetDirty();
    screen.addDirty({0, 0, 241, 320});
    screen.addDirty({-1, 0, 10, 10});
    screen.addDirty({0, -1, 10, 10});
    screen.addDirty({0, 0, 10, 321});
    EXPECT_EQ(screen.dirtyArea().left, -1);
    screen.addDirty({0, 0, 240, 320});
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{0, 0, 240, 320}));
}

TEST_F(ScreenPaintTest, AddDirtyWidensToTheUnion) {
    screen.forgetDirty();
    screen.addDirty({10, 50, 20, 60});
    screen.addDirty({30, 40, 35, 45});
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{10, 40, 35, 60}));
}

TEST_F(ScreenPaintTest, PartialPaintCopiesOneMoreColumnAndRow) {
    screen.refresh(true);
    platform::fillRect(background.picture, {0, 0, 240, 320}, BLUE);  // changed behind the screen's back
    screen.forgetDirty();
    screen.addDirty({10, 20, 30, 40});
    screen.refresh(false);
    EXPECT_EQ(display().pixel(10, 20), BLUE);
    EXPECT_EQ(display().pixel(30, 40), BLUE);
    EXPECT_EQ(display().pixel(31, 40), GREY);
    EXPECT_EQ(display().pixel(30, 41), GREY);
    EXPECT_EQ(display().pixel(9, 20), GREY);
    EXPECT_EQ(display().pixel(10, 19), GREY);
    EXPECT_EQ(screen.dirtyArea().left, -1) << "a paint empties the dirty rectangle";
}

TEST_F(ScreenPaintTest, KeyColourIsSeeThroughExceptInTheBackground) {
    background.picture.setPixel(200, 200, KEY_COLOUR);
    TestFigure sticker(&screen, {10, 10, 20, 20}, RED);
    sticker.picture.setPixel(5, 5, KEY_COLOUR);
    screen.addFigure(&sticker);
    screen.refresh(true);
    EXPECT_EQ(display().pixel(14, 14), RED);
    EXPECT_EQ(display().pixel(15, 15), GREY);
    EXPECT_EQ(display().pixel(200, 200), KEY_COLOUR);
}

TEST_F(ScreenPaintTest, HiddenFiguresAreNotDrawnAndHigherZIsOnTop) {
    TestFigure low(&screen, {0, 0, 20, 20}, RED);
    TestFigure high(&screen, {10, 10, 30, 30}, BLUE);
    TestFigure hidden(&screen, {50, 50, 60, 60}, RED);
    high.setZ(20);
    hidden.setVisible(false);
    screen.addFigure(&high);
    screen.addFigure(&low);
    screen.addFigure(&hidden);
    screen.refresh(true);
    EXPECT_EQ(display().pixel(15, 15), BLUE);
    EXPECT_EQ(display().pixel(5, 5), RED);
    EXPECT_EQ(display().pixel(55, 55), GREY);
}

TEST_F(ScreenPaintTest, InactiveScreenDoesNotPaintAndKeepsDirty) {
    screen.active = false;
    screen.forgetDirty();
    screen.addDirty({1, 2, 3, 4});
    screen.refresh(true);
    EXPECT_EQ(screen.paints, 0);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{1, 2, 3, 4}));
}

// A paint started from inside a paint does nothing.
class NestingFigure : public TestFigure {
public:
    using TestFigure::TestFigure;
    platform::Picture* imageDC() override {
        screen->paint(target, true);
        return &picture;
    }
    platform::Picture target{240, 320};
};

TEST_F(ScreenPaintTest, NestedPaintReturnsAtOnce) {
    NestingFigure nesting(&screen, {0, 0, 10, 10}, RED);
    screen.addFigure(&nesting);
    screen.refresh(true);
    EXPECT_EQ(nesting.target.pixel(0, 0), platform::BLACK) << "the nested paint copied nothing";
    EXPECT_EQ(display().pixel(0, 0), RED);
}

TEST_F(ScreenPaintTest, GateOpensAt85MillisecondsAndMovesOnWhenNothingIsDirty) {
    screen.tick(84);
    EXPECT_EQ(screen.paints, 0);
    screen.tick(85);  // first opening, from 0
    EXPECT_EQ(screen.paints, 1);
    screen.tick(169);
    EXPECT_EQ(screen.paints, 1);
    EXPECT_EQ(screen.lastRefreshTime(), 85u);
    screen.tick(170);  // nothing dirty: no paint, but the gate moves on
    EXPECT_EQ(screen.paints, 1);
    EXPECT_EQ(screen.lastRefreshTime(), 170u);
    screen.addDirty({0, 0, 1, 1});
    screen.tick(254);
    EXPECT_EQ(screen.paints, 1);
    screen.tick(255);
    EXPECT_EQ(screen.paints, 2);
}

TEST_F(ScreenPaintTest, GateWorksAcrossTheCounterWrap) {
    screen.tick(0xFFFFFFF0u);
    EXPECT_EQ(screen.lastRefreshTime(), 0xFFFFFFF0u);
    int paints = screen.paints;
    screen.addDirty({0, 0, 1, 1});
    screen.tick(0xFFFFFFF0u + 84u);  // wrapped past zero, 84 ms later
    EXPECT_EQ(screen.paints, paints);
    screen.tick(0xFFFFFFF0u + 85u);
    EXPECT_EQ(screen.paints, paints + 1);
    EXPECT_EQ(screen.lastRefreshTime(), 0x45u);
}

TEST_F(ScreenPaintTest, TickerRemovingItselfShortensThePass) {
    TestFigure a(&screen, {0, 0, 1, 1}, RED), b(&screen, {0, 0, 1, 1}, RED), c(&screen, {0, 0, 1, 1}, RED);
    a.onTick = [&] { screen.tickers.remove(&a); };
    screen.tickers.append(&a);
    screen.tickers.append(&b);
    screen.tickers.append(&c);
    screen.tick(7);
    EXPECT_EQ(a.ticks, std::vector<std::uint32_t>{7});
    EXPECT_EQ(b.ticks, std::vector<std::uint32_t>{7});
    EXPECT_TRUE(c.ticks.empty());
    screen.tick(8);
    EXPECT_EQ(c.ticks, std::vector<std::uint32_t>{8});
}

}  // namespace
