// Images take their bitmap's size at (0, 0) and are drawn; hotspots are
// never drawn, take presses only while shown, and click when pressed.
#include <gtest/gtest.h>

#include "figures/Hotspot.h"
#include "figures/Image.h"
#include "tests/figures/figure_test_support.h"

namespace {

using figuretest::FigureTest;
using scenetest::RecordingListener;

constexpr std::int32_t MARKER = 118;        // 15 x 15
constexpr std::int32_t BACKGROUND = 123;    // 240 x 320
constexpr std::int32_t MISSING = 9999;

TEST_F(FigureTest, ImageTakesItsBitmapsSizeAtTheOrigin) {
    Image image(&screen, window, BACKGROUND);
    EXPECT_EQ(image.bounds(), (platform::Rect{0, 0, 240, 320}));
    EXPECT_TRUE(image.visible);
    EXPECT_FALSE(image.enabled);
    EXPECT_EQ(image.bitmapId, BACKGROUND);
    ASSERT_NE(image.imageDC(), nullptr);
    EXPECT_EQ(image.imageDC()->width(), 240);
    EXPECT_STREQ(image.typeName(), L"Image");
}

TEST_F(FigureTest, ImageLoadsByTheLow16BitsOfItsId) {
    Image image(&screen, window, 0x10000 + MARKER);
    EXPECT_EQ(image.getWidth(), 15);
    EXPECT_EQ(image.getHeight(), 15);
}

TEST_F(FigureTest, ImageOfAMissingBitmapHasNothingToDraw) {
    Image image(&screen, window, MISSING);
    EXPECT_EQ(image.getWidth(), 0);
    EXPECT_EQ(image.imageDC(), nullptr);
}

TEST_F(FigureTest, ImageDrawsItsBitmapWhereItIsPlaced) {
    Image image(&screen, window, MARKER);
    image.setX(100);
    image.setY(200);
    screen.addFigure(&image);
    screen.active = true;
    screen.refresh(true);
    platform::Colour middle = image.imageDC()->pixel(7, 7);
    ASSERT_NE(middle, KEY_COLOUR);
    EXPECT_EQ(platform::headless::display().pixel(107, 207), middle);
}

class HotspotTest : public FigureTest {
protected:
    void SetUp() override {
        spot.setX(100);
        spot.setY(100);
        spot.addListener(&listener);
        screen.addFigure(&spot);
    }
    Hotspot spot{&screen, window, 40, 30};
    RecordingListener listener{"L", &log};
};

TEST_F(HotspotTest, NewHotspotIsEnabledButHidden) {
    Hotspot fresh(&screen, window, 40, 30);
    EXPECT_EQ(fresh.bounds(), (platform::Rect{0, 0, 40, 30}));
    EXPECT_TRUE(fresh.enabled);
    EXPECT_FALSE(fresh.visible);
    EXPECT_EQ(fresh.imageDC(), nullptr);
    EXPECT_STREQ(fresh.typeName(), L"Hotspot");
}

TEST_F(HotspotTest, HiddenHotspotReceivesNoPress) {
    screen.stylusDown(110, 110);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(platform::headless::playedSounds().empty());
}

TEST_F(HotspotTest, ShownHotspotClicksAndTellsItsListeners) {
    spot.setVisible(true);
    screen.stylusDown(110, 120);
    EXPECT_EQ(log, (std::vector<std::string>{"press L 0 110 120"}));
    ASSERT_EQ(platform::headless::playedSounds().size(), 1u);
    EXPECT_EQ(platform::headless::playedSounds()[0].waveId, 20000u);
    EXPECT_EQ(platform::headless::playedSounds()[0].flags, platform::SND_ASYNC | platform::SND_MEMORY);
    screen.stylusUp(111, 121);
    EXPECT_EQ(log.back(), "release L 0 111 121");
    EXPECT_EQ(platform::headless::playedSounds().size(), 1u) << "a release is silent";
}

TEST_F(HotspotTest, HidingDisablesForGood) {
    spot.setVisible(true);
    spot.setVisible(false);
    spot.setVisible(true);
    screen.stylusDown(110, 110);
    EXPECT_TRUE(log.empty()) << "shown again but still disabled: it swallows the press";
}

TEST_F(HotspotTest, ShownHotspotIsNeverPainted) {
    Image background(&screen, window, BACKGROUND);
    background.setZ(1);
    screen.addFigure(&background);
    screen.setBackground(&background);
    spot.setVisible(true);
    screen.active = true;
    screen.refresh(true);
    const platform::Picture& display = platform::headless::display();
    const platform::Picture* picture = background.imageDC();
    for (int y = 100; y <= 130; y += 5) {
        for (int x = 100; x <= 140; x += 5) ASSERT_EQ(display.pixel(x, y), picture->pixel(x, y));
    }
}

}  // namespace
