// Text figures: exactly the font's extent, only ink and key-colour pixels,
// the string-table form, and independence from the caller's string.
#include <gtest/gtest.h>

#include <string>

#include "figures/Text.h"
#include "tests/figures/figure_test_support.h"

namespace {

using figuretest::FigureTest;

constexpr platform::Colour INK = platform::rgb(20, 30, 160);
constexpr std::uint32_t SCORE_STRING = 307;

bool samePixels(const platform::Picture& a, const platform::Picture& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
        }
    }
    return true;
}

TEST_F(FigureTest, TextIsExactlyTheExtentOfTheDefaultFont) {
    Text text(&screen, window, L"Score", INK);
    platform::Size extent = platform::Font(Text::defaultFont()).extent(L"Score");
    EXPECT_EQ(extent.height, 18);
    EXPECT_EQ(text.bounds(), (platform::Rect{0, 0, extent.width, extent.height}));
    EXPECT_TRUE(text.visible);
    EXPECT_FALSE(text.enabled);
    EXPECT_STREQ(text.typeName(), L"Text");
}

TEST_F(FigureTest, DefaultFontIsBoldSwissEighteen) {
    platform::FontDescription font = Text::defaultFont();
    EXPECT_EQ(font.height, 18);
    EXPECT_EQ(font.weight, platform::FW_BOLD);
    EXPECT_EQ(font.pitchAndFamily, platform::FF_SWISS);
    EXPECT_TRUE(font.faceName.empty());
}

TEST_F(FigureTest, TextPixelsAreInkOrKey) {
    Text text(&screen, window, L"Set time to 3:45", INK);
    ASSERT_NE(text.imageDC(), nullptr);
    EXPECT_EQ(figuretest::coloursOf(*text.imageDC()), (std::set<platform::Colour>{INK, KEY_COLOUR}));
}

TEST_F(FigureTest, TextInTheKeyColourIsInvisible) {
    Text text(&screen, window, L"Hour", KEY_COLOUR);
    EXPECT_EQ(figuretest::coloursOf(*text.imageDC()), (std::set<platform::Colour>{KEY_COLOUR}));
}

TEST_F(FigureTest, TextWiderThanTheScreenIsNotCut) {
    std::wstring longLine(60, L'W');
    Text text(&screen, window, longLine, INK);
    EXPECT_GT(text.getWidth(), 240);
    EXPECT_EQ(text.imageDC()->width(), text.getWidth());
}

TEST_F(FigureTest, TextFromTheStringTableMatchesTheSameWords) {
    Text fromTable(&screen, platform::moduleHandle(), window, SCORE_STRING, INK, Text::defaultFont());
    Text direct(&screen, window, L"Score", INK);
    EXPECT_TRUE(samePixels(*fromTable.imageDC(), *direct.imageDC()));
}

TEST_F(FigureTest, TextKeepsItsOwnCopyOfTheString) {
    std::wstring words = L"Minute";
    Text text(&screen, window, words, INK, Text::defaultFont());
    words.assign(L"xxxxxxxxxxxxxx");
    words.clear();
    words.shrink_to_fit();
    Text again(&screen, window, L"Minute", INK, Text::defaultFont());
    EXPECT_TRUE(samePixels(*text.imageDC(), *again.imageDC()));
}

TEST_F(FigureTest, GivenFontIsUsed) {
    platform::FontDescription small = Text::defaultFont();
    small.height = 12;
    small.weight = 400;
    Text text(&screen, window, L"Score", INK, small);
    EXPECT_EQ(text.getHeight(), platform::Font(small).extent(L"Score").height);
    EXPECT_LT(text.getHeight(), 18);
}

}  // namespace
