// Every figure kind composed into the headless display once, as the game
// would show them; the frame is also written to figures.ppm in the test's
// temporary folder for a person to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/Hotspot.h"
#include "figures/Image.h"
#include "figures/Text.h"
#include "tests/figures/figure_test_support.h"

namespace {

constexpr platform::Colour BLACK_HAND = platform::rgb(0, 0, 0);
constexpr platform::Colour BLUE_HAND = platform::rgb(0, 0, 190);
constexpr platform::Colour GREY = platform::rgb(150, 150, 150);
constexpr platform::Colour INK = platform::rgb(0, 0, 120);

using RenderTest = figuretest::FigureTest;

TEST_F(RenderTest, EveryKindComposesIntoTheDisplay) {
    auto* background = new Image(&screen, window, 138);
    background->setZ(1);
    screen.setBackground(background);
    auto* marker = new Image(&screen, window, 118);
    marker->setX(10);
    marker->setY(10);
    auto* check = new Button(&screen, window, 141);
    check->setX(170);
    check->setY(280);
    auto* arrow = new Button(&screen, window, 140);
    arrow->setX(10);
    arrow->setY(280);
    arrow->pressed = true;
    auto* caption = new Text(&screen, window, L"Set time to 10:10", INK);
    caption->setX(40);
    caption->setY(30);
    auto* clock = new Clock(&screen, window, {40, 60, 200, 220}, BLACK_HAND, BLUE_HAND, BLACK_HAND);
    clock->setTime(10, 10);
    clock->minuteHighlighted = true;
    auto* spin = new ClockAnim(&screen, window, {150, 230, 230, 310}, GREY, GREY, GREY, 30);
    spin->setTime(2, 50);
    spin->start();
    auto* spot = new Hotspot(&screen, window, 60, 40);
    spot->setX(90);
    spot->setY(240);
    spot->setVisible(true);
    for (Figure* figure : std::initializer_list<Figure*>{background, marker, check, arrow, caption, clock, spin, spot}) {
        screen.addFigure(figure);
    }
    screen.active = true;
    screen.refresh(true);

    const platform::Picture& display = platform::headless::display();
    std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "figures.ppm";
    EXPECT_TRUE(figuretest::writePpm(display, file));
    std::cout << "frame written to " << file.string() << "\n";

    const platform::Picture* dial = background->imageDC();
    EXPECT_EQ(display.pixel(120, 260), dial->pixel(120, 260)) << "the hotspot is never drawn";
    EXPECT_EQ(display.pixel(120, 146), BLACK_HAND) << "the centre disc's outline";
    EXPECT_TRUE(figuretest::coloursOf(display).contains(INK));
    EXPECT_TRUE(figuretest::coloursOf(display).contains(platform::rgb(255, 64, 35))) << "the red minute hand";
    screen.destroyAllFigures();
}

}  // namespace
